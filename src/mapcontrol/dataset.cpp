#include "mapcontrol/dataset.h"

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

} // namespace mapcontrol
