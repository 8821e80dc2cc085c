#pragma once

#include "catalogue/sampling_periods.h"
#include "tabledb/table_database.h"

#include <QVariant>
#include <QVector>

namespace quillfen {

class RecordGridModel;
struct RecordSource;

/// Lays the grid out for a sample kind: one column for the record number and one per field,
/// the headings in row 0 and the widths the kind gives. The number of rows is not changed.
void layOutGrid(RecordGridModel& grid, SampleKind kind);

/// Writes record `n` of a layer listing into row n: the grid gets n + 1 rows, column 0 the
/// number and the further columns the field values, in the kind's field order.
void writeLayerRecordRow(RecordGridModel& grid, int n, const QVector<QVariant>& valuesInSchemaOrder);

/// Writes record `n` of a companion-table listing into row n like writeLayerRecordRow, except
/// that a NULL value leaves its cell as it was; then adds one row below and makes it current,
/// so that a listing ends with an empty row that the next listing of the run fills first.
void writeTableRecordRow(RecordGridModel& grid, int n, const QVector<QVariant>& values);

/// A source of record rows (RecordGridModel::addRecordSource) for a kind's fields of a held
/// table; `nullKeepsCell` for a companion table, whose NULL fields leave their cells alone.
RecordSource recordSource(tabledb::HeldTablePtr table, SampleKind kind, bool nullKeepsCell);
/// writeLayerRecordRow() and writeTableRecordRow() for record `rowNumber` of a source added to
/// the grid (recordSource()), whose cells are read from its table when they are asked for.
void writeLayerRecordRow(RecordGridModel& grid, int n, int source, int rowNumber);
void writeTableRecordRow(RecordGridModel& grid, int n, int source, int rowNumber);

} // namespace quillfen
