#include "selection_run/companion_lookup.h"

#include "catalogue/value_text.h"
#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "tabledb/table_database.h"

namespace quillfen {
namespace {

QString siteCodeText(const QVariant& value) {
    return valueText(value).trimmed();
}

QString unreadable(const QString& table, const QString& error) {
    return QStringLiteral("The records of %1 could not be read: %2").arg(table, error);
}

QVariant cellValue(const tabledb::RowReader& row, int column) {
    switch (column < 0 ? tabledb::RowReader::Type::Null : row.type(column)) {
    case tabledb::RowReader::Type::Null:
        break;
    case tabledb::RowReader::Type::Integer:
        return qlonglong(row.integer(column));
    case tabledb::RowReader::Type::Real:
        return row.real(column);
    case tabledb::RowReader::Type::Text:
        return QString::fromUtf8(row.text(column));
    }
    return QVariant();
}

/// A visitor that writes each streamed row as the next companion-table record of the listing,
/// linked to the first site of its code that has a point. The empty row the listing leaves
/// below belongs to the same site, until the next record takes it.
tabledb::RowVisitor tableRowWriter(SampleKind kind, const mapcontrol::VectorLayer& sites,
                                   const SiteIndex& siteIndex, RunListing& listing, QVector<int>& columns) {
    const qint32 layer = listing.grid.sourceLayer(sites.name());
    return [kind, &sites, &siteIndex, layer, &listing, &columns,
            codeColumn = -1](const tabledb::RowReader& row) mutable {
        if (columns.isEmpty()) {
            columns = fieldColumns(row, kind);
            codeColumn = row.columnIndex(QStringLiteral("grid_code"));
        }
        const int n = ++listing.recordCounter;
        writeTableRecordRow(listing.grid, n, row, columns);
        RowSource source{layer, RowSource::kNone};
        for (int feature : siteIndex.featuresByCode.value(siteCodeText(cellValue(row, codeColumn)))) {
            if (sites.dataset()->hasGeometry(feature)) {
                source.feature = feature;
                break;
            }
        }
        listing.grid.setRowSource(n, source);
        listing.grid.setRowSource(n + 1, source);
    };
}

} // namespace

const SiteIndex& SiteIndexCache::of(const mapcontrol::VectorLayer& sites) {
    const mapcontrol::DatasetPtr& dataset = sites.dataset();
    auto it = entries_.find(dataset.get());
    if (it != entries_.end() && it->dataset.lock() == dataset)
        return it->index;
    // Entries of datasets that are gone make room first.
    for (auto stale = entries_.begin(); stale != entries_.end();)
        stale = stale->dataset.expired() ? entries_.erase(stale) : std::next(stale);
    Entry entry{dataset, {}};
    entry.index.codeOfFeature.resize(dataset->featureCount());
    for (mapcontrol::RecordCursor cursor = sites.records(); !cursor.atEnd(); cursor.next()) {
        const QString code = siteCodeText(cursor.fieldValue("grid_code"));
        entry.index.featuresByCode[code].append(cursor.featureIndex());
        entry.index.codeOfFeature[cursor.featureIndex()] = code;
    }
    return entries_.insert(dataset.get(), std::move(entry))->index;
}

CompanionLookup::CompanionLookup(SampleKind kind, const QString& dataPath, const QString& periodCode)
    : kind_(kind), dataPath_(dataPath), table_(companionTable(kind, periodCode)) {}

QString CompanionLookup::tableFile() const {
    return tabledb::Engine::instance().open(dataPath_).tableFile(table_);
}

QString CompanionLookup::listByExpression(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                                          const QString& expression, RunListing& listing) const {
    QString error;
    tabledb::Database database = tabledb::Engine::instance().open(dataPath_, &error);
    if (!database.isOpen())
        return unreadable(table_, error);
    const tabledb::SelectResult codes =
        database.select("SELECT DISTINCT [GRID_CODE] FROM " + table_ + " WHERE " + expression + ";");
    if (!codes.ok())
        return QStringLiteral("The search of %1 failed: %2").arg(table_, codes.error);

    // Each distinct code is looked up among the layer's sites; every site feature with that
    // code is painted.
    Highlight painted{sites.dataset(), {}};
    for (tabledb::RecordSet found = codes.records; !found.atEnd(); found.next()) {
        for (int feature : siteIndex.featuresByCode.value(siteCodeText(found.value("grid_code")))) {
            if (sites.dataset()->hasGeometry(feature))
                painted.features.append(feature);
        }
    }
    listing.highlights.append(std::move(painted));

    QVector<int> columns;
    error = database.stream("SELECT * FROM " + table_ + " WHERE " + expression + ";",
                            tableRowWriter(kind_, sites, siteIndex, listing, columns));
    return error.isEmpty() ? QString() : unreadable(table_, error);
}

QString CompanionLookup::listBySites(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                                     const std::vector<bool>& inside, RunListing& listing) const {
    Highlight painted{sites.dataset(), {}};
    QStringList codes;
    for (int feature = 0; feature < int(inside.size()); ++feature) {
        if (!inside[size_t(feature)])
            continue;
        painted.features.append(feature);
        codes.append(siteIndex.codeOfFeature.value(feature));
    }
    listing.highlights.append(std::move(painted));
    if (codes.isEmpty())
        return QString();

    // The records of each found site by its exact code (a code that merely begins with
    // another belongs to another site), site by site in the order found.
    QString error;
    tabledb::Database database = tabledb::Engine::instance().open(dataPath_, &error);
    if (!database.isOpen())
        return unreadable(table_, error);
    QVector<int> columns;
    error = database.streamRecordsByKeys(table_, QStringLiteral("grid_code"), codes,
                                         tableRowWriter(kind_, sites, siteIndex, listing, columns));
    return error.isEmpty() ? QString() : unreadable(table_, error);
}

} // namespace quillfen
