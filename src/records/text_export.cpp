#include "records/text_export.h"

#include "records/record_grid_model.h"
#include "window_parts/user_prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace quillfen {
namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kSignificantDigits = 7;

/// The cell's text read as a finite number, in the program's "." notation.
bool readNumber(const QString& cell, double* value) {
    bool ok = false;
    *value = cell.toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool fitsInteger32(double value) {
    return value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max();
}

// The fields below are made from the cell's stored value, each number formatted once. A number
// gives the same field as its shown text read back would: that text is its shortest exact form.

void appendTextField(QByteArray& line, const GridValue& cell) {
    if (cell.kind != GridValue::Kind::Text) {
        line += textField(cellText(cell));
        return;
    }
    line += '"';
    if (cell.text.contains('"'))
        line += cell.text.toByteArray().replace('"', QByteArrayLiteral("\"\""));
    else
        line += cell.text;
    line += '"';
}

void appendIntegerField(QByteArray& line, const GridValue& cell) {
    switch (cell.kind) {
    case GridValue::Kind::Empty:
        return;
    case GridValue::Kind::Integer:
        line += fitsInteger32(double(cell.integer)) ? QByteArray::number(cell.integer)
                                                    : textField(cellText(cell));
        return;
    case GridValue::Kind::Real: {
        // A decimal is rounded half to even, as the conversion to a 32-bit integer does.
        const double rounded = std::nearbyint(cell.real);
        line += std::isfinite(cell.real) && fitsInteger32(rounded) ? QByteArray::number(qint32(rounded))
                                                                   : textField(cellText(cell));
        return;
    }
    case GridValue::Kind::Text:
        line += integerField(cellText(cell));
        return;
    }
}

void appendNumberField(QByteArray& line, const GridValue& cell) {
    switch (cell.kind) {
    case GridValue::Kind::Empty:
        return;
    case GridValue::Kind::Integer:
        line += singleText(float(double(cell.integer)));
        return;
    case GridValue::Kind::Real:
        line += std::isfinite(cell.real) && std::fabs(cell.real) <= std::numeric_limits<float>::max()
                    ? singleText(float(cell.real))
                    : textField(cellText(cell));
        return;
    case GridValue::Kind::Text:
        line += numberField(cellText(cell));
        return;
    }
}

void appendField(QByteArray& line, const GridValue& cell, ExportEncoding encoding) {
    switch (encoding) {
    case ExportEncoding::Integer:
        appendIntegerField(line, cell);
        return;
    case ExportEncoding::Number:
        appendNumberField(line, cell);
        return;
    case ExportEncoding::Text:
        appendTextField(line, cell);
        return;
    }
}

/// Whether the file exists and its last byte is not a line feed.
bool endsInsideALine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1))
        return false;
    char last = 0;
    return file.getChar(&last) && last != '\n';
}

/// Appends `block` to the file, created when missing, on a line of its own. Either the whole
/// block is written or the file is left as it was (cut back to its length, or removed when it
/// was new); the reason of a failure is returned, empty on success.
QString appendWhole(const QString& path, QByteArray block) {
    const bool existed = QFileInfo::exists(path);
    if (endsInsideALine(path))
        block.prepend(kLineEnd);
    // Unbuffered, so that nothing is left to be written after a failure has been undone.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    const qint64 length = file.size();
    qint64 written = 0;
    while (written < block.size()) {
        const qint64 count = file.write(block.constData() + written, block.size() - written);
        if (count <= 0) {
            const QString reason = file.errorString();
            if (existed)
                file.resize(length);
            file.close();
            if (!existed)
                QFile::remove(path);
            return reason;
        }
        written += count;
    }
    return QString();
}

SaveDialogOptions exportDialogOptions() {
    SaveDialogOptions options;
    options.title = QStringLiteral("Save Selected Records as Text");
    options.defaultSuffix = QStringLiteral(".txt");
    options.proposedName = QStringLiteral(".txt");
    return options;
}

} // namespace

QByteArray textField(const QString& text) {
    QByteArray quoted = text.toUtf8();
    quoted.replace('"', QByteArrayLiteral("\"\""));
    return '"' + quoted + '"';
}

QByteArray integerField(const QString& cell) {
    if (cell.trimmed().isEmpty())
        return QByteArray();
    double value = 0;
    // A decimal is rounded half to even, as the conversion to a 32-bit integer does.
    if (!readNumber(cell, &value))
        return textField(cell);
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return textField(cell);
    return QByteArray::number(qint32(rounded));
}

QByteArray numberField(const QString& cell) {
    if (cell.trimmed().isEmpty())
        return QByteArray();
    double value = 0;
    if (!readNumber(cell, &value) || std::fabs(value) > std::numeric_limits<float>::max())
        return textField(cell);
    return singleText(float(value));
}

QByteArray singleText(float value) {
    if (value == 0)
        return QByteArrayLiteral("0"); // -0 too
    QByteArray text = QByteArray::number(double(value), 'g', kSignificantDigits);
    if (text.startsWith("0."))
        text.remove(0, 1);
    else if (text.startsWith("-0."))
        text.remove(1, 1);
    return text;
}

QByteArray headingLine(SampleKind kind) {
    QList<QByteArray> fields;
    for (const SchemaField& field : sampleSchema(kind))
        fields.append(textField(field.exportHeading));
    return fields.join(',') + kLineEnd;
}

QByteArray recordLine(const RecordGridModel& grid, int row, SampleKind kind) {
    const QVector<SchemaField>& schema = sampleSchema(kind);
    QByteArray line;
    line.reserve(32 * schema.size());
    for (int k = 1; k <= schema.size(); ++k) {
        if (k > 1)
            line += ',';
        appendField(line, grid.cellValue(row, k), schema[k - 1].exportEncoding);
    }
    line += kLineEnd;
    return line;
}

bool isRecordRow(const RecordGridModel& grid, int row) {
    const GridValue number = grid.cellValue(row, 0);
    if (number.kind == GridValue::Kind::Integer)
        return fitsInteger32(double(number.integer));
    bool isNumber = false;
    cellText(number).toInt(&isNumber);
    return isNumber;
}

ExportResult appendGridToFile(const RecordGridModel& grid, SampleKind kind, const QString& path) {
    ExportResult result;
    QByteArray block;
    for (int row = 1; row < grid.rows(); ++row) {
        if (!isRecordRow(grid, row))
            continue;
        if (block.isEmpty())
            block = headingLine(kind);
        block += recordLine(grid, row, kind);
        ++result.recordsWritten;
    }
    // A grid without records creates no file.
    if (result.recordsWritten == 0)
        return result;
    result.failure = appendWhole(path, block);
    if (!result.ok())
        result.recordsWritten = 0;
    return result;
}

SaveReport saveGridAsText(QWidget* parent, const RecordGridModel& grid, const QString& component) {
    SaveReport report;
    const QString path = UserPrompts::current().chooseSaveFile(parent, exportDialogOptions());
    SampleKind kind;
    if (path.isEmpty() || !kindFromLetter(component, &kind))
        return report;
    report.path = path;
    report.result = appendGridToFile(grid, kind, path);
    if (!report.result.ok()) {
        UserPrompts::current().message(parent,
                                       QStringLiteral("The records could not be saved in %1: %2")
                                           .arg(QDir::toNativeSeparators(path), report.result.failure));
    }
    return report;
}

} // namespace quillfen
