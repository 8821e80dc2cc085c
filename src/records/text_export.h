#pragma once

#include "catalogue/sample_schema.h"
#include "catalogue/sampling_periods.h"

#include <QByteArray>
#include <QString>

class QWidget;

namespace quillfen {

class RecordGridModel;

// The records grid saved as comma-separated text: one heading line of the kind's export
// headings, then one line per record row, field k being grid column k. Lines end in CR LF and
// are UTF-8. Text fields are quoted, an inner double quote doubled. Integer fields are 32-bit
// decimals. Number fields are single-precision values with at most 7 significant digits, no
// trailing zeros, no decimal point for whole values and no 0 before the point (.05, -.5);
// values from 1e7 up or below 1e-4 take the exponent form 1.234568e+07, 1e-07. An empty cell
// at an integer or number position is an empty field; a cell there that is not a number is
// written as a quoted text field, so nothing is lost.

/// A text field: the text between double quotes, each inner double quote doubled.
QByteArray textField(const QString& text);
/// An integer field for a cell's text (see above).
QByteArray integerField(const QString& cell);
/// A number field for a cell's text (see above).
QByteArray numberField(const QString& cell);
/// A single-precision value in the number field form: 7.5, .05, -.5, 1234568, 1e-07.
QByteArray singleText(float value);

/// The heading line of a kind, CR LF included.
QByteArray headingLine(SampleKind kind);
/// The line of grid row `row` for a kind, CR LF included.
QByteArray recordLine(const RecordGridModel& grid, int row, SampleKind kind);
/// Whether a grid row holds a record, i.e. has a record number in column 0. The empty row
/// that fish and vegetation listings leave below their last record does not.
bool isRecordRow(const RecordGridModel& grid, int row);

struct ExportResult {
    int recordsWritten = 0;
    QString failure; ///< why the file could not be opened or written; empty on success
    bool ok() const { return failure.isEmpty(); }
};

/// Appends the grid's records to the file, which is created when missing: the heading line
/// before the first record, then the records, starting on a new line when the file's last line
/// has no line end. A grid without records leaves the file alone. The block is written whole
/// or not at all: on failure the file is left exactly as it was and the reason is given.
ExportResult appendGridToFile(const RecordGridModel& grid, SampleKind kind, const QString& path);

/// What "Save as Text File" did: the file it appended to (empty when nothing was tried) and
/// how that went.
struct SaveReport {
    QString path;
    ExportResult result;
};

/// "Save as Text File": asks for a file and appends the grid to it in the layout of the kind
/// letter `component`. Cancelling, or a letter that names no kind, writes nothing; a file
/// that cannot be written is reported in a message.
SaveReport saveGridAsText(QWidget* parent, const RecordGridModel& grid, const QString& component);

} // namespace quillfen
