#include "tabledb/dbf_table_loader.h"

#include "tabledb/gdal_access.h"
#include "tabledb/select_guard.h"
#include "tabledb/shape_driver.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

#include <QSet>

#include <cmath>
#include <cstdio>
#include <vector>

namespace tabledb {

namespace {

const QString kIndexedColumn = QStringLiteral("grid_code");

/// How a dBASE field is kept in SQLite.
/// TextNumber: a character field of a name the program compares as a number; its texts that
/// are numbers are kept as numbers, the others left empty.
enum class ColumnKind { Integer, Real, Text, Date, TextNumber };

struct ColumnKindInfo {
    ColumnKind kind;
    const char* declaredType;
};

constexpr ColumnKindInfo kColumnKinds[] = {
    {ColumnKind::Integer, "INTEGER"},
    {ColumnKind::Real, "REAL"},
    {ColumnKind::Text, "TEXT COLLATE NOCASE"},
    {ColumnKind::Date, "TEXT COLLATE NOCASE"},
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
        return numericFields.contains(QString::fromUtf8(field.GetNameRef()).toLower()) ? ColumnKind::TextNumber
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
    int textsNotNumbers = 0; ///< TextNumber: texts left empty because they are not numbers
};

std::vector<Column> columnsOf(OGRFeatureDefn& definition, const QSet<QString>& numericFields) {
    std::vector<Column> columns;
    for (int i = 0; i < definition.GetFieldCount(); ++i) {
        const OGRFieldDefn& field = *definition.GetFieldDefn(i);
        columns.push_back({QString::fromUtf8(field.GetNameRef()), columnKindOf(field, numericFields)});
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

void bindDate(sqlite3_stmt* insert, int parameter, OGRFeature& feature, int field) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, zone = 0;
    float second = 0;
    feature.GetFieldAsDateTime(field, &year, &month, &day, &hour, &minute, &second, &zone);
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
    sqlite3_bind_text(insert, parameter, text, length, SQLITE_TRANSIENT);
}

void bindNumberOfText(sqlite3_stmt* insert, int parameter, OGRFeature& feature, int field, Column& column) {
    const char* text = feature.GetFieldAsString(field);
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
        bindNumberOfText(insert, parameter, feature, field, column);
        return;
    }
}

/// Inserts every record of the layer with the prepared INSERT; false on the first failure.
bool insertRecords(sqlite3* db, OGRLayer& layer, std::vector<Column>& columns, const QString& sql,
                   bool numbered, QString* error) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &prepared, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const StatementPtr insert(prepared);
    const int firstField = numbered ? 2 : 1;
    for (const auto& feature : layer) {
        if (numbered)
            sqlite3_bind_int64(insert.get(), 1, feature->GetFID());
        for (int i = 0; i < int(columns.size()); ++i)
            bindField(insert.get(), i + firstField, *feature, i, columns[size_t(i)]);
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            *error = QString::fromUtf8(sqlite3_errmsg(db));
            return false;
        }
        sqlite3_reset(insert.get());
    }
    return true;
}

bool hasIndexedColumn(const std::vector<Column>& columns) {
    for (const Column& column : columns) {
        if (column.name.compare(kIndexedColumn, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

/// Replaces the table with the layer's records; runs inside the caller's transaction.
bool copyLayer(sqlite3* db, const QString& table, OGRLayer& layer, std::vector<Column>& columns,
               const QString& rowIdName, QString* error) {
    if (!execute(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(quotedIdentifier(table)), error) ||
        !execute(db, createTableSql(table, columns), error) ||
        !insertRecords(db, layer, columns, insertSql(table, columns, rowIdName), !rowIdName.isEmpty(), error))
        return false;
    if (!hasIndexedColumn(columns))
        return true;
    const QString index = quotedIdentifier(table + QStringLiteral(" by ") + kIndexedColumn);
    return execute(db,
                   QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                       .arg(index, quotedIdentifier(table), quotedIdentifier(kIndexedColumn)),
                   error);
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

bool loadDbfTable(sqlite3* db, const QString& table, const QString& path, const QSet<QString>& numericFields,
                  LoadedTable* loaded, QString* error) {
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
    std::vector<Column> columns = columnsOf(*layer->GetLayerDefn(), numericFields);
    const QString rowIdName = freeRowIdName(namesOf(columns));

    if (!execute(db, QStringLiteral("BEGIN"), error))
        return false;
    QString copyError;
    if (!copyLayer(db, table, *layer, columns, rowIdName, &copyError) || gdalFailure.failed()) {
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
    loaded->notes = numbersStoredAsText(columns);
    return true;
}

} // namespace tabledb
