#include "mapcontrol/map_layers.h"

#include <algorithm>

namespace mapcontrol {

Shape Dataset::shape(int feature) const {
    Shape result;
    if (feature < 0 || feature >= featureCount())
        return result;
    const int firstPart = featurePart_[size_t(feature)];
    const int endPart = featurePart_[size_t(feature) + 1];
    if (firstPart == endPart)
        return result;
    switch (kind_) {
    case GeometryKind::Point:
        result.kind = Shape::Kind::Point;
        break;
    case GeometryKind::Line:
        result.kind = Shape::Kind::Line;
        break;
    case GeometryKind::Polygon:
        result.kind = Shape::Kind::Polygon;
        break;
    case GeometryKind::Unknown:
        return result;
    }
    for (int part = firstPart; part < endPart; ++part) {
        result.partStarts.append(int(result.points.size()));
        for (int i = partPoint_[size_t(part)]; i < partPoint_[size_t(part) + 1]; ++i)
            result.points.append(QPointF(xs_[size_t(i)], ys_[size_t(i)]));
    }
    return result;
}

tabledb::RecordSet Dataset::allRecords(QString* error) const {
    if (!allRecordsLoaded_) {
        const tabledb::SelectResult result = attributes_.selectRecords(name_);
        if (!result.ok()) {
            if (error)
                *error = result.error;
            return {};
        }
        allRecords_ = result.records;
        allRecordsLoaded_ = true;
    }
    tabledb::RecordSet records = allRecords_;
    records.moveFirst();
    return records;
}

RecordCursor::RecordCursor(DatasetPtr dataset, tabledb::RecordSet records,
                           std::shared_ptr<const std::vector<bool>> keptFeatures)
    : dataset_(std::move(dataset)), records_(std::move(records)), kept_(std::move(keptFeatures)) {
    for (records_.moveFirst(); !records_.atEnd(); records_.next())
        count_ += keeps(records_.rowNumber()) ? 1 : 0;
    first();
}

bool RecordCursor::keeps(int feature) const {
    if (!kept_)
        return true;
    return feature >= 0 && size_t(feature) < kept_->size() && (*kept_)[size_t(feature)];
}

void RecordCursor::skipHidden() {
    while (!records_.atEnd() && !keeps(records_.rowNumber()))
        records_.next();
}

void RecordCursor::first() {
    records_.moveFirst();
    skipHidden();
}

void RecordCursor::next() {
    records_.next();
    skipHidden();
}

Shape RecordCursor::shape() const {
    if (!dataset_ || records_.atEnd())
        return {};
    return dataset_->shape(records_.rowNumber());
}

void ValueRenderer::setValueCount(int count) {
    Symbol symbol;
    symbol.type = symbolType;
    classes_.resize(size_t(std::max(0, count)), Class{QString(), false, symbol});
}

void ValueRenderer::setValue(int index, const QString& value) {
    Class& c = classes_.at(size_t(index));
    c.value = value;
    c.hasValue = true;
}

const Symbol* ValueRenderer::symbolFor(const QString& text) const {
    for (const Class& c : classes_) {
        if (c.hasValue && c.value == text)
            return &c.symbol;
    }
    return nullptr;
}

namespace {
Symbol defaultSymbolFor(Dataset::GeometryKind kind) {
    Symbol symbol;
    switch (kind) {
    case Dataset::GeometryKind::Line:
        symbol.type = SymbolType::Line;
        symbol.style = SolidLine;
        symbol.size = 1;
        break;
    case Dataset::GeometryKind::Polygon:
        symbol.type = SymbolType::Fill;
        // A pale neutral that no land cover class uses, so unclassified areas stand apart.
        symbol.color = packColor(230, 222, 200);
        break;
    case Dataset::GeometryKind::Point:
    case Dataset::GeometryKind::Unknown:
        symbol.type = SymbolType::Point;
        symbol.style = Circle;
        break;
    }
    return symbol;
}
} // namespace

VectorLayer::VectorLayer(DatasetPtr dataset) : dataset_(std::move(dataset)) {
    name_ = dataset_->name();
    symbol = defaultSymbolFor(dataset_->geometryKind());
}

RecordCursor VectorLayer::records() const {
    return RecordCursor(dataset_, dataset_->allRecords());
}

} // namespace mapcontrol
