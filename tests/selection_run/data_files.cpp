#include "data_files.h"

#include "catalogue/sample_schema.h"
#include "records/record_grid_model.h"

#include <ogr_geometry.h>

#include <QCoreApplication>
#include <QDate>

#include <cmath>

namespace datafiles {
namespace {

QString dataFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data/");
}

QString expectedText(const QVariant& value) {
    if (value.typeId() == QMetaType::QDate) {
        const QDate date = value.toDate();
        return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    }
    QString text = value.toString();
    while (value.typeId() == QMetaType::QString && text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

bool sameNumber(const QString& cell, double expected) {
    bool ok = false;
    const double shown = cell.toDouble(&ok);
    return ok && std::abs(shown - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

/// Why grid row `row` does not show `record` in the layout of `kind`; empty when it does.
QString rowMismatch(const quillfen::RecordGridModel& grid, int row, const Record& record,
                    quillfen::SampleKind kind) {
    if (grid.textMatrix(row, 0) != QString::number(row))
        return QStringLiteral("row %1 is numbered '%2'").arg(row).arg(grid.textMatrix(row, 0));
    const QVector<quillfen::SchemaField>& fields = quillfen::sampleSchema(kind);
    for (int i = 0; i < fields.size(); ++i) {
        const QString cell = grid.textMatrix(row, i + 1);
        const QVariant value = record.value(fields[i].field);
        const bool matches = value.isNull()                        ? cell.isEmpty()
                             : value.typeId() == QMetaType::Double ? sameNumber(cell, value.toDouble())
                                                                   : cell == expectedText(value);
        if (!matches)
            return QStringLiteral("row %1, %2: '%3' shown, the file holds '%4'")
                .arg(row)
                .arg(fields[i].field, cell, value.toString());
    }
    return QString();
}

} // namespace

Records layerRecords(const QString& layerCode) {
    return readRecords(dataFolder() + layerCode + ".shp");
}

Records tableRecords(const QString& table) {
    return readRecords(dataFolder() + table + ".dbf");
}

Records matching(const Records& records, const std::function<bool(const Record&)>& keep) {
    Records kept;
    std::copy_if(records.begin(), records.end(), std::back_inserter(kept), keep);
    return kept;
}

Records withGridCode(const Records& records, int code) {
    return matching(records, [code](const Record& r) { return r.gridCode() == code; });
}

Records withSpecies(const Records& records, const QString& species) {
    return matching(records,
                    [&species](const Record& r) { return r.value("species").toString() == species; });
}

Records joined(Records first, const Records& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

QSet<int> gridCodes(const Records& records) {
    QSet<int> codes;
    for (const Record& record : records)
        codes.insert(record.gridCode());
    return codes;
}

Record site(const Records& sites, int code) {
    const Records found = withGridCode(sites, code);
    if (found.size() != 1)
        QTest::qFail(qPrintable(QStringLiteral("site %1 not found once").arg(code)), __FILE__, __LINE__);
    return found.empty() ? Record() : found.front();
}

Records inside(const Records& records, const QVector<QPointF>& ring) {
    OGRLinearRing boundary;
    for (const QPointF& vertex : ring)
        boundary.addPoint(vertex.x(), vertex.y());
    boundary.closeRings();
    OGRPolygon polygon;
    polygon.addRing(&boundary);
    return matching(
        records, [&polygon](const Record& r) { return r.hasPoint() && polygon.Contains(r.geometry.get()); });
}

void verifyListing(const quillfen::RecordGridModel& grid, const Records& records, quillfen::SampleKind kind,
                   int trailingEmptyRows) {
    const int recordCount = int(records.size());
    QCOMPARE(grid.rows(), 1 + recordCount + trailingEmptyRows);
    QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("Record"));
    QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("Barcode"));
    for (int i = 0; i < recordCount; ++i) {
        const QString mismatch = rowMismatch(grid, i + 1, records[size_t(i)], kind);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
    for (int r = recordCount + 1; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c)
            QVERIFY2(grid.textMatrix(r, c).isEmpty(),
                     qPrintable(QStringLiteral("row %1 is not empty").arg(r)));
    }
}

bool hasNoRecordText(const quillfen::RecordGridModel& grid) {
    for (int r = 1; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (!grid.textMatrix(r, c).isEmpty())
                return false;
        }
    }
    return true;
}

} // namespace datafiles
