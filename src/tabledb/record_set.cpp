#include "tabledb/table_database.h"

namespace tabledb {

void RecordSet::setColumns(const QStringList& names) {
    columns_ = names;
    columnByLowerName_.clear();
    for (int i = 0; i < names.size(); ++i) {
        const QString lower = names[i].toLower();
        if (!columnByLowerName_.contains(lower))
            columnByLowerName_.insert(lower, i);
    }
    // The names as the engine spelled them too, so that the usual lookup needs no lower-casing.
    for (const QString& name : names) {
        if (!columnByLowerName_.contains(name))
            columnByLowerName_.insert(name, columnByLowerName_.value(name.toLower()));
    }
}

int RecordSet::columnIndex(const QString& name) const {
    const auto exact = columnByLowerName_.constFind(name);
    if (exact != columnByLowerName_.constEnd())
        return exact.value();
    return columnByLowerName_.value(name.toLower(), -1);
}

QVariant RecordSet::value(const QString& name) const {
    return value(columnIndex(name));
}

QVariant RecordSet::value(int column) const {
    if (atEnd() || column < 0 || column >= columns_.size())
        return QVariant();
    return rows_[row_][column];
}

int RecordSet::rowNumber() const {
    if (atEnd() || row_ >= rowNumbers_.size())
        return -1;
    return rowNumbers_[row_];
}

} // namespace tabledb
