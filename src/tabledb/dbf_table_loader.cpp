#include "tabledb/dbf_table_loader.h"

#include "tabledb/select_guard.h"
#include "tabledb/shape_driver.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

#include <cstdio>
#include <mutex>
#include <vector>

namespace tabledb {

namespace {

const QString kIndexedColumn = QStringLiteral("grid_code");

/// How a dBASE field is kept in SQLite.
enum class ColumnKind { Integer, Real, Text, Date };

struct ColumnKindInfo {
    ColumnKind kind;
    const char* declaredType;
};

constexpr ColumnKindInfo kColumnKinds[] = {
    {ColumnKind::Integer, "INTEGER"},
    {ColumnKind::Real, "REAL"},
    {ColumnKind::Text, "TEXT COLLATE NOCASE"},
    {ColumnKind::Date, "TEXT COLLATE NOCASE"},
};

const char* declaredTypeOf(ColumnKind kind) {
    for (const ColumnKindInfo& info : kColumnKinds) {
        if (info.kind == kind)
            return info.declaredType;
    }
    return "TEXT";
}

/// OGR reads dBASE numbers without decimals as integers (64-bit when wide), the others as reals.
ColumnKind columnKindOf(const OGRFieldDefn& field) {
    switch (field.GetType()) {
    case OFTInteger:
    case OFTInteger64:
        return ColumnKind::Integer;
    case OFTReal:
        return ColumnKind::Real;
    case OFTDate:
        return ColumnKind::Date;
    default:
        return ColumnKind::Text;
    }
}

void registerOgrDriversOnce() {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
}

/// Collects the first failure that GDAL reports while it lives, instead of printing it.
class GdalFailureCapture {
public:
    GdalFailureCapture() { CPLPushErrorHandlerEx(&GdalFailureCapture::handle, this); }
    ~GdalFailureCapture() { CPLPopErrorHandler(); }
    GdalFailureCapture(const GdalFailureCapture&) = delete;
    GdalFailureCapture& operator=(const GdalFailureCapture&) = delete;

    bool failed() const { return !message_.isNull(); }
    QString message() const { return message_; }

private:
    static void CPL_STDCALL handle(CPLErr level, CPLErrorNum, const char* message) {
        auto* self = static_cast<GdalFailureCapture*>(CPLGetErrorHandlerUserData());
        if (level >= CE_Failure && self->message_.isNull())
            self->message_ = QString::fromUtf8(message ? message : "");
    }
    QString message_;
};

bool execute(sqlite3* db, const QString& sql, QString* error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

struct Column {
    QString name;
    ColumnKind kind;
};

std::vector<Column> columnsOf(OGRFeatureDefn& definition) {
    std::vector<Column> columns;
    for (int i = 0; i < definition.GetFieldCount(); ++i) {
        const OGRFieldDefn& field = *definition.GetFieldDefn(i);
        columns.push_back({QString::fromUtf8(field.GetNameRef()), columnKindOf(field)});
    }
    return columns;
}

QString createTableSql(const QString& table, const std::vector<Column>& columns) {
    QStringList definitions;
    for (const Column& column : columns)
        definitions << quotedIdentifier(column.name) + ' ' + declaredTypeOf(column.kind);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedIdentifier(table), definitions.join(", "));
}

QString insertSql(const QString& table, const std::vector<Column>& columns) {
    QStringList names{QStringLiteral("rowid")};
    QStringList placeholders{QStringLiteral("?")};
    for (const Column& column : columns) {
        names << quotedIdentifier(column.name);
        placeholders << QStringLiteral("?");
    }
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

void bindField(sqlite3_stmt* insert, int parameter, OGRFeature& feature, int field, ColumnKind kind) {
    if (!feature.IsFieldSetAndNotNull(field)) {
        sqlite3_bind_null(insert, parameter);
        return;
    }
    switch (kind) {
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
    }
}

/// Inserts every record of the layer with the prepared INSERT; false on the first failure.
bool insertRecords(sqlite3* db, OGRLayer& layer, const std::vector<Column>& columns, const QString& sql,
                   QString* error) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &prepared, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const StatementPtr insert(prepared);
    for (const auto& feature : layer) {
        sqlite3_bind_int64(insert.get(), 1, feature->GetFID());
        for (int i = 0; i < int(columns.size()); ++i)
            bindField(insert.get(), i + 2, *feature, i, columns[size_t(i)].kind);
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
bool copyLayer(sqlite3* db, const QString& table, OGRLayer& layer, const std::vector<Column>& columns,
               QString* error) {
    if (!execute(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(quotedIdentifier(table)), error) ||
        !execute(db, createTableSql(table, columns), error) ||
        !insertRecords(db, layer, columns, insertSql(table, columns), error))
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

QString quotedIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

bool loadDbfTable(sqlite3* db, const QString& table, const QString& path, QStringList* columnNames,
                  QString* error) {
    registerOgrDriversOnce();
    GdalFailureCapture gdalFailure;
    GDALDriver* shapes = shapeDriver();
    const char* const drivers[] = {shapes ? shapes->GetDescription() : "", nullptr};
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
    OGRLayer* layer = dataset && dataset->GetLayerCount() > 0 ? dataset->GetLayer(0) : nullptr;
    if (!layer) {
        *error = QStringLiteral("cannot read %1 as a dBASE table%2")
                     .arg(path, gdalFailure.failed() ? ": " + gdalFailure.message() : QString());
        return false;
    }
    // Only the attributes are copied; a shapefile's geometry is not even read.
    const char* ignoredFields[] = {"OGR_GEOMETRY", "OGR_STYLE", nullptr};
    layer->SetIgnoredFields(ignoredFields);
    const std::vector<Column> columns = columnsOf(*layer->GetLayerDefn());

    if (!execute(db, QStringLiteral("BEGIN"), error))
        return false;
    QString copyError;
    if (!copyLayer(db, table, *layer, columns, &copyError) || gdalFailure.failed()) {
        QString ignored;
        execute(db, QStringLiteral("ROLLBACK"), &ignored);
        *error = QStringLiteral("cannot read table %1 from %2: %3")
                     .arg(table, path, gdalFailure.failed() ? gdalFailure.message() : copyError);
        return false;
    }
    if (!execute(db, QStringLiteral("COMMIT"), error))
        return false;
    columnNames->clear();
    for (const Column& column : columns)
        *columnNames << column.name;
    return true;
}

} // namespace tabledb
