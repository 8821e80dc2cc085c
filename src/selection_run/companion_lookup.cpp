#include "selection_run/companion_lookup.h"

#include "catalogue/data_catalogue.h"
#include "catalogue/value_text.h"
#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "tabledb/table_database.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

/// The first site of `code` that has a point, as the source of a record of `layer`.
RowSource siteSource(qint32 layer, const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                     const QString& code) {
    RowSource source{layer, RowSource::kNone};
    for (int feature : siteIndex.featuresByCode.value(code)) {
        if (sites.dataset()->hasGeometry(feature)) {
            source.feature = feature;
            break;
        }
    }
    return source;
}

/// The code of a streamed row as it was read, to tell cheaply whether the next row's is the same.
struct ReadCode {
    tabledb::RowReader::Type type = tabledb::RowReader::Type::Null;
    qint64 integer = 0;
    double real = 0;
    QByteArray text;

    static ReadCode of(const tabledb::RowReader& row, int column) {
        ReadCode code;
        code.type = column < 0 ? tabledb::RowReader::Type::Null : row.type(column);
        switch (code.type) {
        case tabledb::RowReader::Type::Null:
            break;
        case tabledb::RowReader::Type::Integer:
            code.integer = row.integer(column);
            break;
        case tabledb::RowReader::Type::Real:
            code.real = row.real(column);
            break;
        case tabledb::RowReader::Type::Text:
            code.text = row.text(column).toByteArray();
            break;
        }
        return code;
    }
    /// Whether the row's code is this one, bit for bit.
    bool isIn(const tabledb::RowReader& row, int column) const {
        const tabledb::RowReader::Type rowType =
            column < 0 ? tabledb::RowReader::Type::Null : row.type(column);
        if (rowType != type)
            return false;
        switch (type) {
        case tabledb::RowReader::Type::Null:
            return true;
        case tabledb::RowReader::Type::Integer:
            return row.integer(column) == integer;
        case tabledb::RowReader::Type::Real: {
            // Bit for bit: 0 and -0 are equal numbers but not the same code text.
            const double read = row.real(column);
            return std::memcmp(&read, &real, sizeof read) == 0;
        }
        case tabledb::RowReader::Type::Text:
            return row.text(column) == text;
        }
        return false;
    }
};

/// A record of a companion table found by a run, by its record number, and the site it is
/// linked to.
struct FoundRecord {
    int rowNumber;
    RowSource source;
};

/// A visitor that adds each streamed row's record to `found`, linked to the first site of its
/// code that has a point.
tabledb::RowVisitor recordCollector(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                                    qint32 layer, QVector<FoundRecord>& found) {
    // Records come site by site, so a code's site is looked up again only when the code read
    // differs from the last record's.
    return [&sites, &siteIndex, layer, &found, codeColumn = -1, lastCode = std::optional<ReadCode>(),
            lastSource = RowSource()](const tabledb::RowReader& row) mutable {
        if (!lastCode)
            codeColumn = row.columnIndex(kSiteCodeField);
        if (!lastCode || !lastCode->isIn(row, codeColumn)) {
            lastCode = ReadCode::of(row, codeColumn);
            lastSource = siteSource(layer, sites, siteIndex, siteCodeText(cellValue(row, codeColumn)));
        }
        found.append({row.rowNumber(), lastSource});
    };
}

/// Writes the records found as the next companion-table records of the listing, read from
/// `table` when shown. The empty row the listing leaves below belongs to the last record's
/// site, until the next record takes it.
void writeFoundRecords(RunListing& listing, SampleKind kind, tabledb::HeldTablePtr table,
                       const QVector<FoundRecord>& found) {
    if (found.isEmpty())
        return;
    RecordGridModel& grid = listing.grid;
    const int source = grid.addRecordSource(recordSource(std::move(table), kind, true));
    for (const FoundRecord& record : found) {
        const int n = ++listing.recordCounter;
        writeTableRecordRow(grid, n, source, record.rowNumber);
        grid.setRowSource(n, record.source);
        grid.setRowSource(n + 1, record.source);
    }
}

/// The code of a record found by a logical search, and its record number.
struct CodeOfRecord {
    ReadCode code;
    int rowNumber;
};

long double numberOf(const ReadCode& code) {
    // A long double holds every 64-bit integer and every double exactly.
    return code.type == tabledb::RowReader::Type::Integer ? static_cast<long double>(code.integer)
                                                          : static_cast<long double>(code.real);
}

/// Whether code `a` comes before `b` in an index of their column: numbers by value, integers
/// and reals alike, before texts, which go byte by byte. Neither is NULL.
bool comesBefore(const ReadCode& a, const ReadCode& b) {
    const bool aIsText = a.type == tabledb::RowReader::Type::Text;
    const bool bIsText = b.type == tabledb::RowReader::Type::Text;
    if (aIsText || bIsText)
        return aIsText && bIsText ? a.text < b.text : bIsText;
    return numberOf(a) < numberOf(b);
}

/// Adds every site of `code` that has a point to `painted`.
void paintSitesOf(const QString& code, const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                  Highlight& painted) {
    for (int feature : siteIndex.featuresByCode.value(code)) {
        if (sites.dataset()->hasGeometry(feature))
            painted.features.append(feature);
    }
}

/// Paints the sites of the codes as the select of their distinct codes gives them when the
/// engine walks the table's index of site codes from end to end (Database::walksWholeIndex):
/// in the index's order, each code as the first of its records in record order has it. False,
/// painting nothing, when a code is NULL.
bool paintSitesInIndexOrder(QVector<CodeOfRecord> codes, const mapcontrol::VectorLayer& sites,
                            const SiteIndex& siteIndex, Highlight& painted) {
    for (const CodeOfRecord& record : std::as_const(codes)) {
        if (record.code.type == tabledb::RowReader::Type::Null)
            return false;
    }
    std::sort(codes.begin(), codes.end(), [](const CodeOfRecord& a, const CodeOfRecord& b) {
        return comesBefore(a.code, b.code) || (!comesBefore(b.code, a.code) && a.rowNumber < b.rowNumber);
    });
    for (int i = 0; i < codes.size(); ++i) {
        if (i > 0 && !comesBefore(codes[i - 1].code, codes[i].code))
            continue;
        const ReadCode& code = codes[i].code;
        const QVariant value =
            code.type == tabledb::RowReader::Type::Integer ? QVariant(qlonglong(code.integer))
            : code.type == tabledb::RowReader::Type::Real  ? QVariant(code.real)
                                                           : QVariant(QString::fromUtf8(code.text));
        paintSitesOf(siteCodeText(value), sites, siteIndex, painted);
    }
    return true;
}

/// Paints the sites of each code that `select` (of distinct codes) gives, in that order.
QString paintSitesOfSelectedCodes(tabledb::Database& database, const QString& table, const QString& select,
                                  const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                                  Highlight& painted) {
    const tabledb::SelectResult codes = database.select(select);
    if (!codes.ok())
        return QStringLiteral("The search of %1 failed: %2").arg(table, codes.error);
    for (tabledb::RecordSet found = codes.records; !found.atEnd(); found.next())
        paintSitesOf(siteCodeText(found.value(kSiteCodeField)), sites, siteIndex, painted);
    return QString();
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
    SiteIndex& index = entry.index;
    index.codeOfFeature.resize(dataset->featureCount());
    // Streamed rather than read into a record set: only the code of each site is wanted.
    int codeColumn = -1;
    bool columnFound = false;
    const QString error =
        dataset->attributes().streamRecords(dataset->name(), QString(), [&](const tabledb::RowReader& row) {
            if (!columnFound) {
                codeColumn = row.columnIndex(kSiteCodeField);
                columnFound = true;
            }
            const int feature = row.rowNumber();
            const QString code = siteCodeText(cellValue(row, codeColumn));
            index.featuresByCode[code].append(feature);
            if (feature >= 0 && feature < index.codeOfFeature.size())
                index.codeOfFeature[feature] = code;
        });
    // A table that cannot be read has no sites to link, as before any of it was read.
    if (!error.isEmpty())
        index = SiteIndex{{}, QStringList(index.codeOfFeature.size())};
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
    // Each distinct code is looked up among the layer's sites; every site feature with that
    // code is painted.
    const QString distinctCodes =
        "SELECT DISTINCT [" + kSiteCodeField + "] FROM " + table_ + " WHERE " + expression + ";";
    Highlight painted{sites.dataset(), {}};
    QVector<FoundRecord> found;
    tabledb::HeldTablePtr table;
    if (database.walksWholeIndex(distinctCodes, table_, kSiteCodeField)) {
        // One pass over the table: the codes of the records found, put in the index's order,
        // are those the select of distinct codes would give. The grid learns of the layer only
        // once the search has passed, as when the select of codes comes first.
        const tabledb::RowVisitor collect = recordCollector(sites, siteIndex, 0, found);
        QVector<CodeOfRecord> codes;
        int codeColumn = -2;
        error = database.streamRecordNumbersWhere(
            table_, expression,
            [&](const tabledb::RowReader& row) {
                if (codeColumn == -2)
                    codeColumn = row.columnIndex(kSiteCodeField);
                collect(row);
                codes.append({ReadCode::of(row, codeColumn), row.rowNumber()});
            },
            &table);
        if (!error.isEmpty())
            return QStringLiteral("The search of %1 failed: %2").arg(table_, error);
        if (!paintSitesInIndexOrder(std::move(codes), sites, siteIndex, painted)) {
            error = paintSitesOfSelectedCodes(database, table_, distinctCodes, sites, siteIndex, painted);
            if (!error.isEmpty())
                return error;
        }
        listing.highlights.append(std::move(painted));
        const qint32 layer = listing.grid.sourceLayer(sites.name());
        for (FoundRecord& record : found)
            record.source.layer = layer;
    } else {
        error = paintSitesOfSelectedCodes(database, table_, distinctCodes, sites, siteIndex, painted);
        if (!error.isEmpty())
            return error;
        listing.highlights.append(std::move(painted));
        error = database.streamRecordNumbersWhere(
            table_, expression,
            recordCollector(sites, siteIndex, listing.grid.sourceLayer(sites.name()), found), &table);
        if (!error.isEmpty())
            return unreadable(table_, error);
    }
    writeFoundRecords(listing, kind_, std::move(table), found);
    return QString();
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
    QVector<FoundRecord> found;
    tabledb::HeldTablePtr table;
    error = database.streamRecordNumbersByKeys(
        table_, kSiteCodeField, codes,
        recordCollector(sites, siteIndex, listing.grid.sourceLayer(sites.name()), found), &table);
    if (!error.isEmpty())
        return unreadable(table_, error);
    writeFoundRecords(listing, kind_, std::move(table), found);
    return QString();
}

} // namespace quillfen
