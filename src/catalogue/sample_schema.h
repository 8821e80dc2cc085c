#pragma once

#include "catalogue/pick_lists.h"
#include "catalogue/sampling_periods.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace quillfen {

/// What a sample field holds, as far as the query window and the search are concerned.
enum class ValueClass {
    ShownOnly, ///< listed in the grid and the export, not offered by the query window
    Number,    ///< a measurement compared numerically; -99 means not measured
    CodedText, ///< a label of a fixed list, compared as quoted text
    Species,   ///< a species name, compared as quoted text
};

/// How the text export writes a grid column.
enum class ExportEncoding { Text, Integer, Number };

/// One field of a sample kind, in grid order: where it is read, how the records grid heads
/// it, how the query window offers it, and how the text export writes it.
struct SchemaField {
    QString field;       ///< attribute name in the layer or companion table
    QString gridHeading; ///< heading of its records-grid column
    int gridWidth;       ///< column width in twips; 0 keeps the grid's default width
    int queryIndex;      ///< position in the query window's parameter list; -1 when not offered
    QString queryName;   ///< name in the query window's parameter list
    QString unit;        ///< text shown under the parameter list for numeric parameters
    ValueClass valueClass;
    PickListId pickList; ///< labels offered for coded and species parameters
    QString exportHeading;
    ExportEncoding exportEncoding;
};

/// Heading of the records grid's first column, which holds the record numbers.
inline const QString kRecordColumnHeading = QStringLiteral("Record");

/// The fields of a sample kind in grid order (column 1 onward). For fish and vegetation these
/// are the companion table's fields; the site code `grid_code` that links them is not listed.
const QVector<SchemaField>& sampleSchema(SampleKind kind);

/// The fields the query window offers for a kind, in its parameter-list order.
QVector<SchemaField> queryParameters(SampleKind kind);

/// The field name for a query-window parameter name of a kind; empty when unknown.
QString queryField(SampleKind kind, const QString& queryName);

/// The fields that the search compares as numbers, of every kind, each once.
QStringList numericFieldNames();

} // namespace quillfen
