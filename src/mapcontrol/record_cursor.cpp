#include "mapcontrol/record_cursor.h"

namespace mapcontrol {

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

} // namespace mapcontrol
