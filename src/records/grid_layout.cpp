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

RecordSource recordSource(tabledb::HeldTablePtr table, SampleKind kind, bool nullKeepsCell) {
    RecordSource source{std::move(table), {}, nullKeepsCell};
    for (const SchemaField& field : sampleSchema(kind))
        source.columns.append(source.table ? source.table->columnIndex(field.field) : -1);
    return source;
}

void writeLayerRecordRow(RecordGridModel& grid, int n, int source, int rowNumber) {
    startRecordRow(grid, n);
    grid.setRecordRow(source, rowNumber);
}

void writeTableRecordRow(RecordGridModel& grid, int n, int source, int rowNumber) {
    startRecordRow(grid, n);
    grid.setRecordRow(source, rowNumber);
    grid.setRows(grid.rows() + 1);
    grid.setRow(grid.row() + 1);
}

} // namespace quillfen
