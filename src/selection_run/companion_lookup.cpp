#include "selection_run/companion_lookup.h"

#include "layers/sample_schema.h"
#include "records/grid_layout.h"
#include "records/value_text.h"
#include "tabledb/table_database.h"

namespace quillfen {
namespace {

QString siteCodeText(const QVariant& value) { return valueText(value).trimmed(); }

/// Positions of the kind's grid fields among the columns of a record set.
QVector<int> schemaColumns(const tabledb::RecordSet& records, SampleKind kind) {
    QVector<int> columns;
    for (const SchemaField& field : sampleSchema(kind))
        columns.append(records.columnIndex(field.field));
    return columns;
}

QVector<QVariant> recordValues(const tabledb::RecordSet& records, const QVector<int>& columns) {
    QVector<QVariant> values;
    values.reserve(columns.size());
    for (int column : columns)
        values.append(records.value(column));
    return values;
}

}  // namespace

QString quotedSqlText(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

const SiteIndex& SiteIndexCache::of(const mapcontrol::VectorLayer& sites) {
    const mapcontrol::DatasetPtr& dataset = sites.dataset();
    auto it = entries_.find(dataset.get());
    if (it != entries_.end() && it->dataset.lock() == dataset)
        return it->index;
    // Entries of datasets that are gone make room first.
    for (auto stale = entries_.begin(); stale != entries_.end();)
        stale = stale->dataset.expired() ? entries_.erase(stale) : std::next(stale);
    Entry entry{dataset, {}};
    for (mapcontrol::RecordCursor cursor = sites.records(); !cursor.atEnd(); cursor.next())
        entry.index[siteCodeText(cursor.fieldValue("grid_code"))].append(cursor.featureIndex());
    return entries_.insert(dataset.get(), std::move(entry))->index;
}

CompanionLookup::CompanionLookup(SampleKind kind, const QString& dataPath, const QString& periodCode)
    : kind_(kind), dataPath_(dataPath), table_(companionTable(kind, periodCode)) {}

QString CompanionLookup::writeRecords(const QString& sql, RunListing& listing) const {
    QString error;
    tabledb::Database database = tabledb::Engine::instance().open(dataPath_, &error);
    if (!database.isOpen())
        return QStringLiteral("The records of %1 could not be read: %2").arg(table_, error);
    tabledb::SelectResult result = database.select(sql);
    if (!result.ok())
        return QStringLiteral("The records of %1 could not be read: %2").arg(table_, result.error);
    int n = listing.recordCounter + 1;
    const QVector<int> columns = schemaColumns(result.records, kind_);
    for (tabledb::RecordSet& records = result.records; !records.atEnd(); records.next())
        writeTableRecordRow(listing.grid, n++, recordValues(records, columns));
    listing.recordCounter = n - 1;
    return QString();
}

QString CompanionLookup::listByExpression(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                                          const QString& expression, RunListing& listing) const {
    QString error;
    tabledb::Database database = tabledb::Engine::instance().open(dataPath_, &error);
    if (!database.isOpen())
        return QStringLiteral("The records of %1 could not be read: %2").arg(table_, error);
    const tabledb::SelectResult codes =
        database.select("SELECT DISTINCT [GRID_CODE] FROM " + table_ + " WHERE " + expression + ";");
    if (!codes.ok())
        return QStringLiteral("The search of %1 failed: %2").arg(table_, codes.error);

    // Each distinct code is looked up among the layer's sites; every site feature with that
    // code is painted.
    for (tabledb::RecordSet found = codes.records; !found.atEnd(); found.next()) {
        for (int feature : siteIndex.value(siteCodeText(found.value("grid_code")))) {
            const mapcontrol::Shape shape = sites.dataset()->shape(feature);
            if (!shape.isNull())
                listing.highlights.append(shape);
        }
    }
    return writeRecords("SELECT * FROM " + table_ + " WHERE " + expression + ";", listing);
}

QString CompanionLookup::listBySites(mapcontrol::RecordCursor& foundSites, RunListing& listing) const {
    QStringList codes;
    for (; !foundSites.atEnd(); foundSites.next()) {
        const mapcontrol::Shape shape = foundSites.shape();
        if (shape.isNull())
            continue;
        listing.highlights.append(shape);
        codes.append(siteCodeText(foundSites.fieldValue("grid_code")));
    }
    if (codes.isEmpty())
        return QString();

    // One select for all found sites, by exact code (a code that merely begins with another
    // belongs to another site); the records are then listed site by site in the order found.
    QStringList quoted;
    for (const QString& code : codes)
        quoted.append(quotedSqlText(code));
    QString error;
    tabledb::Database database = tabledb::Engine::instance().open(dataPath_, &error);
    if (!database.isOpen())
        return QStringLiteral("The records of %1 could not be read: %2").arg(table_, error);
    tabledb::SelectResult result =
        database.select("SELECT * FROM " + table_ + " WHERE grid_code IN (" + quoted.join(',') + ");");
    if (!result.ok())
        return QStringLiteral("The records of %1 could not be read: %2").arg(table_, result.error);

    tabledb::RecordSet& records = result.records;
    const QVector<int> columns = schemaColumns(records, kind_);
    const int codeColumn = records.columnIndex("grid_code");
    QHash<QString, QVector<QVector<QVariant>>> recordsBySite;
    for (; !records.atEnd(); records.next())
        recordsBySite[siteCodeText(records.value(codeColumn))].append(recordValues(records, columns));
    int n = listing.recordCounter + 1;
    for (const QString& code : codes) {
        for (const QVector<QVariant>& values : recordsBySite.value(code))
            writeTableRecordRow(listing.grid, n++, values);
    }
    listing.recordCounter = n - 1;
    return QString();
}

}  // namespace quillfen
