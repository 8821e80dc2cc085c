#include "tabledb/table_database.h"

#include <sqlite3.h>

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

RowReader::RowReader(sqlite3_stmt* statement, bool firstColumnIsRowNumber)
    : statement_(statement), firstField_(firstColumnIsRowNumber ? 1 : 0) {}

int RowReader::columnIndex(const QString& name) const {
    const int count = sqlite3_column_count(statement_) - firstField_;
    for (int column = 0; column < count; ++column) {
        if (name.compare(QString::fromUtf8(sqlite3_column_name(statement_, column + firstField_)),
                         Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

RowReader::Type RowReader::type(int column) const {
    switch (sqlite3_column_type(statement_, column + firstField_)) {
    case SQLITE_INTEGER:
        return Type::Integer;
    case SQLITE_FLOAT:
        return Type::Real;
    case SQLITE_NULL:
        return Type::Null;
    default:
        return Type::Text;
    }
}

qint64 RowReader::integer(int column) const {
    return sqlite3_column_int64(statement_, column + firstField_);
}

double RowReader::real(int column) const {
    return sqlite3_column_double(statement_, column + firstField_);
}

QByteArrayView RowReader::text(int column) const {
    // The text pointer is taken before the length, as SQLite asks.
    const auto* text = static_cast<const char*>(sqlite3_column_blob(statement_, column + firstField_));
    return QByteArrayView(text, sqlite3_column_bytes(statement_, column + firstField_));
}

int RowReader::rowNumber() const {
    return firstField_ == 1 ? sqlite3_column_int(statement_, 0) : -1;
}

} // namespace tabledb
