#include "records/grid_layout.h"

#include "catalogue/sample_schema.h"
#include "records/record_grid_model.h"

#include <algorithm>

namespace quillfen {
namespace {

/// Makes row n the current row of an n + 1 row grid and writes its record number.
void startRecordRow(RecordGridModel& grid, int n) {
    grid.setRows(n + 1);
    grid.setRow(n);
    grid.setCol(0);
    grid.setInteger(n);
}

using FieldType = tabledb::RowReader::Type;

/// The type of a field of a streamed row; a column the row lacks is a null field.
FieldType fieldType(const tabledb::RowReader& row, int column) {
    return column < 0 ? FieldType::Null : row.type(column);
}

/// Writes a field of a streamed row, of type `type`, into the current cell, as setValue()
/// writes its value.
void writeField(RecordGridModel& grid, const tabledb::RowReader& row, int column, FieldType type) {
    using Type = FieldType;
    switch (type) {
    case Type::Null:
        grid.setFieldText({});
        break;
    case Type::Integer:
        grid.setInteger(row.integer(column));
        break;
    case Type::Real:
        grid.setReal(row.real(column));
        break;
    case Type::Text:
        grid.setFieldText(row.text(column));
        break;
    }
}

} // namespace

void layOutGrid(RecordGridModel& grid, SampleKind kind) {
    const QVector<SchemaField>& fields = sampleSchema(kind);
    grid.setCols(1 + int(fields.size()));
    grid.setRow(0);
    grid.setCol(0);
    grid.setText(kRecordColumnHeading);
    for (int col = 1; col < grid.cols(); ++col) {
        const SchemaField& field = fields[col - 1];
        grid.setCol(col);
        if (field.gridWidth != RecordGridModel::kDefaultColWidth)
            grid.setColWidth(col, field.gridWidth);
        grid.setText(field.gridHeading);
    }
}

void writeLayerRecordRow(RecordGridModel& grid, int n, const QVector<QVariant>& valuesInSchemaOrder) {
    startRecordRow(grid, n);
    const int count = std::min(int(valuesInSchemaOrder.size()), grid.cols() - 1);
    for (int i = 0; i < count; ++i) {
        grid.setCol(i + 1);
        grid.setValue(valuesInSchemaOrder[i]);
    }
}

void writeTableRecordRow(RecordGridModel& grid, int n, const QVector<QVariant>& values) {
    startRecordRow(grid, n);
    const int count = std::min(int(values.size()), grid.cols() - 1);
    for (int i = 0; i < count; ++i) {
        if (values[i].isNull())
            continue;
        grid.setCol(i + 1);
        grid.setValue(values[i]);
    }
    grid.setRows(grid.rows() + 1);
    grid.setRow(grid.row() + 1);
}

QVector<int> fieldColumns(const tabledb::RowReader& row, SampleKind kind) {
    QVector<int> columns;
    for (const SchemaField& field : sampleSchema(kind))
        columns.append(row.columnIndex(field.field));
    return columns;
}

void writeLayerRecordRow(RecordGridModel& grid, int n, const tabledb::RowReader& row,
                         const QVector<int>& columns) {
    startRecordRow(grid, n);
    const int count = std::min(int(columns.size()), grid.cols() - 1);
    for (int i = 0; i < count; ++i) {
        grid.setCol(i + 1);
        writeField(grid, row, columns[i], fieldType(row, columns[i]));
    }
}

void writeTableRecordRow(RecordGridModel& grid, int n, const tabledb::RowReader& row,
                         const QVector<int>& columns) {
    startRecordRow(grid, n);
    const int count = std::min(int(columns.size()), grid.cols() - 1);
    for (int i = 0; i < count; ++i) {
        const FieldType type = fieldType(row, columns[i]);
        if (type == FieldType::Null)
            continue;
        grid.setCol(i + 1);
        writeField(grid, row, columns[i], type);
    }
    grid.setRows(grid.rows() + 1);
    grid.setRow(grid.row() + 1);
}

} // namespace quillfen
