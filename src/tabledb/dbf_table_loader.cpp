#include "tabledb/dbf_table_loader.h"

#include "tabledb/dbf_file.h"
#include "tabledb/gdal_access.h"
#include "tabledb/select_guard.h"
#include "tabledb/shape_driver.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

#include <QHash>
#include <QSet>

#include <charconv>
#include <cmath>
#include <vector>

namespace tabledb {

namespace {

/// How a dBASE field is kept in SQLite.
/// TextNumber: a character field of a name the program compares as a number; its texts that
/// are numbers are kept as numbers, the others left empty.
enum class ColumnKind { Integer, Real, Text, Date, TextNumber };

struct ColumnKindInfo {
    ColumnKind kind;
    const char* declaredType;
};

constexpr ColumnKindInfo kColumnKinds[] = {
    {ColumnKind::Integer, "INTEGER"},          {ColumnKind::Real, "REAL"},
    {ColumnKind::Text, "TEXT COLLATE NOCASE"}, {ColumnKind::Date, "TEXT COLLATE NOCASE"},
    {ColumnKind::TextNumber, "REAL"},
};

const QStringList kRowIdNames = {QStringLiteral("rowid"), QStringLiteral("_rowid_"), QStringLiteral("oid")};

const char* declaredTypeOf(ColumnKind kind) {
    for (const ColumnKindInfo& info : kColumnKinds) {
        if (info.kind == kind)
            return info.declaredType;
    }
    return "TEXT";
}

/// OGR reads dBASE numbers without decimals as integers (64-bit when wide), the others as reals.
ColumnKind columnKindOf(const OGRFieldDefn& field, const QSet<QString>& numericFields) {
    switch (field.GetType()) {
    case OFTInteger:
    case OFTInteger64:
        return ColumnKind::Integer;
    case OFTReal:
        return ColumnKind::Real;
    case OFTDate:
        return ColumnKind::Date;
    default:
        return numericFields.contains(QString::fromUtf8(field.GetNameRef()).toLower())
                   ? ColumnKind::TextNumber
                   : ColumnKind::Text;
    }
}

/// The number a text of a numeric field stands for: a decimal number with optional sign,
/// point and exponent, blanks round it allowed. False for anything else.
bool numberOfText(const char* text, double* number) {
    bool ok = false;
    *number = QByteArray(text).trimmed().toDouble(&ok);
    return ok && std::isfinite(*number);
}

struct Column {
    QString name;
    ColumnKind kind;
    int field = 0;           ///< its index among the fields of the file
    int width = 0;           ///< as OGR gives it
    int textsNotNumbers = 0; ///< TextNumber: texts left empty because they are not numbers
};

/// The columns of the fields, the first of each name: names are compared without regard to
/// case, as OGR finds a field by its name. A sentence in `leftOut` names each field left out.
std::vector<Column> columnsOf(OGRFeatureDefn& definition, const QSet<QString>& numericFields,
                              QStringList* leftOut) {
    std::vector<Column> columns;
    QHash<QString, QString> nameOfLowerCase;
    for (int i = 0; i < definition.GetFieldCount(); ++i) {
        const OGRFieldDefn& field = *definition.GetFieldDefn(i);
        const QString name = QString::fromUtf8(field.GetNameRef());
        if (const auto first = nameOfLowerCase.constFind(name.toLower());
            first != nameOfLowerCase.constEnd()) {
            *leftOut << QStringLiteral(
                            "field %1 is left out: its name differs from that of field %2 only in case, "
                            "and the first of the two is read")
                            .arg(name, first.value());
            continue;
        }
        nameOfLowerCase.insert(name.toLower(), name);
        columns.push_back({name, columnKindOf(field, numericFields), i, field.GetWidth()});
    }
    return columns;
}

QStringList namesOf(const std::vector<Column>& columns) {
    QStringList names;
    for (const Column& column : columns)
        names << column.name;
    return names;
}

/// Sentences naming each character field that holds numbers, and what became of its texts.
QStringList numbersStoredAsText(const std::vector<Column>& columns) {
    QStringList notes;
    for (const Column& column : columns) {
        if (column.kind != ColumnKind::TextNumber)
            continue;
        QString note = QStringLiteral("field %1 holds numbers stored as text; they are compared as numbers")
                           .arg(column.name);
        if (column.textsNotNumbers > 0)
            note += QStringLiteral(", and the texts that are not numbers (%1) are left empty")
                        .arg(column.textsNotNumbers);
        notes << note;
    }
    return notes;
}

QString createTableSql(const QString& table, const std::vector<Column>& columns) {
    QStringList definitions;
    for (const Column& column : columns)
        definitions << quotedIdentifier(column.name) + ' ' + declaredTypeOf(column.kind);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedIdentifier(table), definitions.join(", "));
}

/// Inserts each record under its record number, through `rowIdName`; without one, the records
/// are numbered by SQLite in the same order.
QString insertSql(const QString& table, const std::vector<Column>& columns, const QString& rowIdName) {
    QStringList names;
    if (!rowIdName.isEmpty())
        names << rowIdName;
    for (const Column& column : columns)
        names << quotedIdentifier(column.name);
    const QStringList placeholders(names.size(), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quotedIdentifier(table), names.join(", "), placeholders.join(", "));
}

/// Binds a date as the text M/D/YYYY.
void bindDate(sqlite3_stmt* insert, int parameter, int year, int month, int day) {
    char text[40];
    char* end = text;
    for (const int part : {month, day, year}) {
        if (end != text)
            *end++ = '/';
        end = std::to_chars(end, text + sizeof text, part).ptr;
    }
    sqlite3_bind_text(insert, parameter, text, int(end - text), SQLITE_TRANSIENT);
}

void bindDate(sqlite3_stmt* insert, int parameter, OGRFeature& feature, int field) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, zone = 0;
    float second = 0;
    feature.GetFieldAsDateTime(field, &year, &month, &day, &hour, &minute, &second, &zone);
    bindDate(insert, parameter, year, month, day);
}

void bindNumberOfText(sqlite3_stmt* insert, int parameter, const char* text, Column& column) {
    double number = 0;
    if (numberOfText(text, &number)) {
        sqlite3_bind_double(insert, parameter, number);
        return;
    }
    sqlite3_bind_null(insert, parameter);
    if (!QByteArray(text).trimmed().isEmpty())
        ++column.textsNotNumbers;
}

void bindField(sqlite3_stmt* insert, int parameter, OGRFeature& feature, int field, Column& column) {
    if (!feature.IsFieldSetAndNotNull(field)) {
        sqlite3_bind_null(insert, parameter);
        return;
    }
    switch (column.kind) {
    case ColumnKind::Integer:
        sqlite3_bind_int64(insert, parameter, feature.GetFieldAsInteger64(field));
        return;
    case ColumnKind::Real:
        sqlite3_bind_double(insert, parameter, feature.GetFieldAsDouble(field));
        return;
    case ColumnKind::Date:
        bindDate(insert, parameter, feature, field);
        return;
    case ColumnKind::Text:
        sqlite3_bind_text(insert, parameter, feature.GetFieldAsString(field), -1, SQLITE_TRANSIENT);
        return;
    case ColumnKind::TextNumber:
        bindNumberOfText(insert, parameter, feature.GetFieldAsString(field), column);
        return;
    }
}

/// Steps the INSERT once its values are bound; false with `error` set on failure.
bool stepInsert(sqlite3* db, sqlite3_stmt* insert, QString* error) {
    const bool done = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
    if (!done)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    return done;
}

/// Inserts every record of the layer, as OGR reads it, with the prepared INSERT; false on the
/// first failure.
bool insertRecordsThroughOgr(sqlite3* db, sqlite3_stmt* insert, OGRLayer& layer, std::vector<Column>& columns,
                             bool numbered, QString* error) {
    const int firstField = numbered ? 2 : 1;
    for (const auto& feature : layer) {
        if (numbered)
            sqlite3_bind_int64(insert, 1, feature->GetFID());
        for (int i = 0; i < int(columns.size()); ++i)
            bindField(insert, i + firstField, *feature, columns[size_t(i)].field, columns[size_t(i)]);
        if (!stepInsert(db, insert, error))
            return false;
    }
    return true;
}

// Reading the records straight from the file's bytes gives what OGR gives for the forms of
// values that plain files hold: whole and decimal numbers of digits, dates of eight digits,
// texts. A value of any other form, or a file whose header OGR reads otherwise, is left to OGR,
// which reads the whole table again.

/// What the direct read of a table's records came to.
enum class DirectRead { Copied, LeftToOgr, Failed };

/// An optional minus and 1 to 18 digits: a number no 64-bit integer overflows on.
bool plainInteger(QByteArrayView text, qint64* value) {
    const qsizetype digits = text.size() - (text.startsWith('-') ? 1 : 0);
    const auto [end, failure] = std::from_chars(text.begin(), text.end(), *value);
    return digits >= 1 && digits <= 18 && failure == std::errc() && end == text.end();
}

/// An optional minus, digits, and a point with digits after them; at least one digit.
bool plainDecimal(QByteArrayView text, double* value) {
    const QByteArrayView unsigned_ = text.startsWith('-') ? text.sliced(1) : text;
    bool digit = false;
    int points = 0;
    for (const char c : unsigned_) {
        digit = digit || (c >= '0' && c <= '9');
        points += c == '.';
        if ((c < '0' || c > '9') && c != '.')
            return false;
    }
    const auto [end, failure] = std::from_chars(text.begin(), text.end(), *value);
    return digit && points <= 1 && failure == std::errc() && end == text.end();
}

/// Eight digits YYYYMMDD, bound as the text M/D/YYYY that loaded dates have.
bool bindPlainDate(sqlite3_stmt* insert, int parameter, QByteArrayView text) {
    int date = 0;
    if (text.size() != 8 || std::from_chars(text.begin(), text.end(), date).ptr != text.end() ||
        text.front() == '-')
        return false;
    if (date == 0)
        sqlite3_bind_null(insert, parameter);
    else
        bindDate(insert, parameter, date / 10000, date / 100 % 100, date % 100);
    return true;
}

bool isAscii(QByteArrayView text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

/// A table's texts as OGR gives them: in UTF-8, recoded from the file's encoding.
class TextRecoding {
public:
    explicit TextRecoding(const char* encoding) : encoding_(encoding ? encoding : "") {}

    /// Whether the encoding leaves ASCII as it is, so that ASCII texts need no recoding.
    bool keepsAscii() const {
        if (encoding_.isEmpty())
            return true;
        QByteArray ascii;
        for (int c = 1; c < 0x80; ++c)
            ascii += char(c);
        char* recoded = CPLRecode(ascii.constData(), encoding_.constData(), CPL_ENC_UTF8);
        const bool same = ascii == recoded;
        CPLFree(recoded);
        return same;
    }

    /// `text` in UTF-8; valid until the next call.
    const QByteArray& utf8(QByteArrayView text) {
        utf8_ = text.toByteArray();
        if (!encoding_.isEmpty() && !isAscii(text)) {
            char* recoded = CPLRecode(utf8_.constData(), encoding_.constData(), CPL_ENC_UTF8);
            utf8_ = recoded;
            CPLFree(recoded);
        }
        return utf8_;
    }

private:
    QByteArray encoding_;
    QByteArray utf8_;
};

/// Binds a text read from the file; an ASCII text straight from the file's bytes, which stay
/// in place until the INSERT is stepped.
bool bindPlainText(sqlite3_stmt* insert, int parameter, QByteArrayView text, TextRecoding& recoding) {
    if (isAscii(text))
        return sqlite3_bind_text(insert, parameter, text.data(), int(text.size()), SQLITE_STATIC) ==
               SQLITE_OK;
    const QByteArray& utf8 = recoding.utf8(text);
    return sqlite3_bind_text(insert, parameter, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) ==
           SQLITE_OK;
}

/// Whether a number field's text is only asterisks, which is how files mark an empty number.
bool isStarred(QByteArrayView text) {
    for (const char c : text) {
        if (c != '*')
            return false;
    }
    return true;
}

/// Binds one value read from the file; false when its form is one to leave to OGR.
bool bindPlainValue(sqlite3_stmt* insert, int parameter, QByteArrayView text, Column& column,
                    TextRecoding& recoding) {
    const bool number = column.kind == ColumnKind::Integer || column.kind == ColumnKind::Real;
    if (text.isEmpty() || (number && isStarred(text))) {
        sqlite3_bind_null(insert, parameter);
        return true;
    }
    switch (column.kind) {
    case ColumnKind::Integer: {
        qint64 number = 0;
        return plainInteger(text, &number) && sqlite3_bind_int64(insert, parameter, number) == SQLITE_OK;
    }
    case ColumnKind::Real: {
        double number = 0;
        return plainDecimal(text, &number) && sqlite3_bind_double(insert, parameter, number) == SQLITE_OK;
    }
    case ColumnKind::Date:
        return bindPlainDate(insert, parameter, text);
    case ColumnKind::Text:
        return bindPlainText(insert, parameter, text, recoding);
    case ColumnKind::TextNumber:
        bindNumberOfText(insert, parameter, recoding.utf8(text).constData(), column);
        return true;
    }
    return false;
}

/// Whether the file's own header describes the fields OGR found: same names and widths, in
/// the same order, of dBASE types whose values the direct read understands.
bool headerMatches(const std::vector<DbfField>& fields, const OGRFeatureDefn& definition,
                   const std::vector<Column>& columns) {
    if (int(fields.size()) != definition.GetFieldCount())
        return false;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int index = columns[i].field;
        const DbfField& field = fields[size_t(index)];
        const bool number = field.type == 'N' || field.type == 'F';
        bool understood = false;
        switch (columns[i].kind) {
        case ColumnKind::Integer:
            // OGR keeps a field narrower than 10 digits as a 32-bit integer, which every
            // value of the field fits.
            understood = number && field.width == columns[i].width &&
                         (definition.GetFieldDefn(index)->GetType() != OFTInteger || field.width < 10);
            break;
        case ColumnKind::Real:
            understood = number && field.width == columns[i].width;
            break;
        case ColumnKind::Date:
            understood = field.type == 'D' && field.width == 8;
            break;
        case ColumnKind::Text:
        case ColumnKind::TextNumber:
            understood = field.type == 'C' && field.width == columns[i].width;
            break;
        }
        if (!understood || field.name != definition.GetFieldDefn(index)->GetNameRef())
            return false;
    }
    return true;
}

/// Inserts every record read straight from the file at `path`, when the file is plain; leaves
/// the table untouched when the file is left to OGR.
DirectRead insertRecordsDirectly(sqlite3* db, sqlite3_stmt* insert, const QString& path, OGRLayer& layer,
                                 std::vector<Column>& columns, bool numbered, QString* error) {
    DbfFile file;
    TextRecoding recoding(layer.GetMetadataItem("SOURCE_ENCODING", "SHAPEFILE"));
    if (!file.open(path) || !headerMatches(file.fields(), *layer.GetLayerDefn(), columns) ||
        file.recordCount() != layer.GetFeatureCount(FALSE) || !recoding.keepsAscii())
        return DirectRead::LeftToOgr;
    const int firstField = numbered ? 2 : 1;
    qint64 number = 0;
    QByteArrayView record;
    while (file.nextRecord(&number, &record)) {
        if (numbered)
            sqlite3_bind_int64(insert, 1, number);
        for (size_t i = 0; i < columns.size(); ++i) {
            const QByteArrayView text = DbfFile::fieldText(record, file.fields()[size_t(columns[i].field)]);
            if (!bindPlainValue(insert, int(i) + firstField, text, columns[i], recoding))
                return DirectRead::LeftToOgr;
        }
        if (!stepInsert(db, insert, error))
            return DirectRead::Failed;
    }
    return file.readFailed() ? DirectRead::LeftToOgr : DirectRead::Copied;
}

/// Inserts every record of the table: straight from the file where it is plain, else as OGR
/// reads it.
bool insertRecords(sqlite3* db, const QString& table, const QString& path, OGRLayer& layer,
                   std::vector<Column>& columns, const QString& rowIdName, RecordReading reading,
                   bool* readDirectly, QString* error) {
    sqlite3_stmt* prepared = nullptr;
    const QByteArray sql = insertSql(table, columns, rowIdName).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &prepared, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const StatementPtr insert(prepared);
    const bool numbered = !rowIdName.isEmpty();
    if (reading == RecordReading::DirectWherePlain) {
        switch (insertRecordsDirectly(db, insert.get(), path, layer, columns, numbered, error)) {
        case DirectRead::Copied:
            *readDirectly = true;
            return true;
        case DirectRead::Failed:
            return false;
        case DirectRead::LeftToOgr:
            for (Column& column : columns)
                column.textsNotNumbers = 0;
            if (!execute(db, QStringLiteral("DELETE FROM %1").arg(quotedIdentifier(table)), error))
                return false;
            break;
        }
    }
    return insertRecordsThroughOgr(db, insert.get(), layer, columns, numbered, error);
}

/// Gives each column named in `indexedFields` an index; runs inside the caller's transaction.
bool indexColumns(sqlite3* db, const QString& table, const std::vector<Column>& columns,
                  const QSet<QString>& indexedFields, QString* error) {
    for (const Column& column : columns) {
        if (!indexedFields.contains(column.name.toLower()))
            continue;
        const QString index = quotedIdentifier(table + QStringLiteral(" by ") + column.name);
        if (!execute(db,
                     QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                         .arg(index, quotedIdentifier(table), quotedIdentifier(column.name)),
                     error))
            return false;
    }
    return true;
}

/// Replaces the table with the layer's records; runs inside the caller's transaction.
bool copyLayer(sqlite3* db, const QString& table, const QString& path, OGRLayer& layer,
               std::vector<Column>& columns, const QString& rowIdName, const QSet<QString>& indexedFields,
               RecordReading reading, bool* readDirectly, QString* error) {
    if (!execute(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(quotedIdentifier(table)), error) ||
        !execute(db, createTableSql(table, columns), error) ||
        !insertRecords(db, table, path, layer, columns, rowIdName, reading, readDirectly, error))
        return false;
    return indexColumns(db, table, columns, indexedFields, error);
}

} // namespace

bool execute(sqlite3* db, const QString& sql, QString* error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

QString quotedIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

QString freeRowIdName(const QStringList& columns) {
    for (const QString& name : kRowIdNames) {
        if (!columns.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QString();
}

bool loadDbfTable(sqlite3* db, const QString& table, const QString& path, const TableLoadRules& rules,
                  LoadedTable* loaded, QString* error, RecordReading reading) {
    GDALDriver* shapes = shapeDriver();
    QString openFailure;
    const GDALDatasetUniquePtr dataset =
        openWithDriver(path, shapes ? shapes->GetDescription() : "", GDAL_OF_VECTOR, &openFailure);
    OGRLayer* layer = dataset && dataset->GetLayerCount() > 0 ? dataset->GetLayer(0) : nullptr;
    if (!layer) {
        *error = QStringLiteral("cannot read %1 as a dBASE table%2")
                     .arg(path, openFailure.isEmpty() ? QString() : ": " + openFailure);
        return false;
    }
    GdalFailureCapture gdalFailure;
    // Only the attributes are copied; a shapefile's geometry is not even read.
    const char* ignoredFields[] = {"OGR_GEOMETRY", "OGR_STYLE", nullptr};
    layer->SetIgnoredFields(ignoredFields);
    QStringList fieldsLeftOut;
    std::vector<Column> columns = columnsOf(*layer->GetLayerDefn(), rules.numericFields, &fieldsLeftOut);
    if (columns.empty()) {
        *error = QStringLiteral("cannot read table %1 from %2: it has no fields").arg(table, path);
        return false;
    }
    const QString rowIdName = freeRowIdName(namesOf(columns));

    if (!execute(db, QStringLiteral("BEGIN"), error))
        return false;
    QString copyError;
    bool readDirectly = false;
    if (!copyLayer(db, table, path, *layer, columns, rowIdName, rules.indexedFields, reading, &readDirectly,
                   &copyError) ||
        gdalFailure.failed()) {
        QString ignored;
        execute(db, QStringLiteral("ROLLBACK"), &ignored);
        *error = QStringLiteral("cannot read table %1 from %2: %3")
                     .arg(table, path, gdalFailure.failed() ? gdalFailure.message() : copyError);
        return false;
    }
    if (!execute(db, QStringLiteral("COMMIT"), error))
        return false;
    loaded->columns = namesOf(columns);
    loaded->rowIdName = rowIdName;
    loaded->notes = fieldsLeftOut + numbersStoredAsText(columns);
    loaded->readDirectly = readDirectly;
    return true;
}

} // namespace tabledb
