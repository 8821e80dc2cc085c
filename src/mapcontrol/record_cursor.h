#pragma once

#include "mapcontrol/dataset.h"
#include "mapcontrol/map_types.h"
#include "tabledb/field_text.h"
#include "tabledb/table_database.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace mapcontrol {

using tabledb::fieldText;

/// Forward cursor over features of one dataset, with their attribute values. A cursor may
/// carry a filter (one flag per feature index) that hides the records it does not keep.
class RecordCursor {
public:
    RecordCursor() = default;
    RecordCursor(DatasetPtr dataset, tabledb::RecordSet records,
                 std::shared_ptr<const std::vector<bool>> keptFeatures = nullptr);

    void first();
    bool atEnd() const { return records_.atEnd(); }
    void next();
    int count() const { return count_; }
    /// The current feature's field value: text or number, a null QVariant for NULL, an
    /// invalid QVariant for an unknown field.
    QVariant fieldValue(const QString& name) const { return records_.value(name); }
    /// The current feature's "Shape" (null when it has none).
    Shape shape() const;
    int featureIndex() const { return records_.rowNumber(); }
    const tabledb::RecordSet& records() const { return records_; }

private:
    bool keeps(int feature) const;
    void skipHidden();

    DatasetPtr dataset_;
    tabledb::RecordSet records_;
    std::shared_ptr<const std::vector<bool>> kept_;
    int count_ = 0;
};

} // namespace mapcontrol
