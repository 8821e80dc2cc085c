#include "data_files.h"

#include "layers/sample_schema.h"
#include "records/record_grid_model.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace datafiles {
namespace {

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};

QVariant fieldValue(const OGRFeature& feature, int i) {
    if (!feature.IsFieldSetAndNotNull(i))
        return QVariant();
    switch (feature.GetFieldDefnRef(i)->GetType()) {
    case OFTInteger:
        return feature.GetFieldAsInteger(i);
    case OFTInteger64:
        return qlonglong(feature.GetFieldAsInteger64(i));
    case OFTReal:
        return feature.GetFieldAsDouble(i);
    case OFTDate: {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, zone = 0;
        float second = 0;
        feature.GetFieldAsDateTime(i, &year, &month, &day, &hour, &minute, &second, &zone);
        return QDate(year, month, day);
    }
    default:
        return QString::fromUtf8(feature.GetFieldAsString(i));
    }
}

Records readRecords(const QString& path) {
    GDALAllRegister();
    Records records;
    std::unique_ptr<GDALDataset, DatasetCloser> dataset(
        GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!dataset) {
        QTest::qFail(qPrintable("cannot read " + path), __FILE__, __LINE__);
        return records;
    }
    for (const auto& feature : *dataset->GetLayer(0)) {
        Record record;
        for (int i = 0; i < feature->GetFieldCount(); ++i)
            record.values.insert(QString::fromUtf8(feature->GetFieldDefnRef(i)->GetNameRef()).toLower(),
                                 fieldValue(*feature, i));
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (geometry && !geometry->IsEmpty() && wkbFlatten(geometry->getGeometryType()) == wkbPoint) {
            const auto* point = geometry->toPoint();
            record.hasPoint = true;
            record.point = QPointF(point->getX(), point->getY());
        }
        records.push_back(std::move(record));
    }
    return records;
}

QString expectedText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    }
    case QMetaType::QString: {
        QString text = value.toString();
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text;
    }
    default:
        return value.toString();
    }
}

bool sameNumber(const QString& cell, double expected) {
    bool ok = false;
    const double shown = cell.toDouble(&ok);
    return ok && std::abs(shown - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

} // namespace

QString dataFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data");
}

Records layerRecords(const QString& layerCode) {
    return readRecords(dataFolder() + "/" + layerCode + ".shp");
}

Records tableRecords(const QString& table) {
    return readRecords(dataFolder() + "/" + table + ".dbf");
}

Records matching(const Records& records, const std::function<bool(const Record&)>& keep) {
    Records kept;
    for (const Record& record : records) {
        if (keep(record))
            kept.push_back(record);
    }
    return kept;
}

Records withGridCode(const Records& records, int code) {
    return matching(records, [code](const Record& r) { return r.gridCode() == code; });
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
    if (!ring.isEmpty())
        boundary.addPoint(ring.first().x(), ring.first().y());
    OGRPolygon polygon;
    polygon.addRing(&boundary);
    return matching(records, [&polygon](const Record& r) {
        const OGRPoint point(r.point.x(), r.point.y());
        return r.hasPoint && polygon.Contains(&point);
    });
}

QString rowMismatch(const quillfen::RecordGridModel& grid, int row, int number, const Record& record,
                    quillfen::SampleKind kind) {
    if (grid.textMatrix(row, 0) != QString::number(number))
        return QStringLiteral("row %1 is numbered '%2', expected %3")
            .arg(row)
            .arg(grid.textMatrix(row, 0))
            .arg(number);
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

void verifyListing(const quillfen::RecordGridModel& grid, const Records& records, quillfen::SampleKind kind,
                   int trailingEmptyRows) {
    const int recordCount = int(records.size());
    QCOMPARE(grid.rows(), 1 + recordCount + trailingEmptyRows);
    QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("Record"));
    QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("Barcode"));
    for (int i = 0; i < recordCount; ++i) {
        const QString mismatch = rowMismatch(grid, i + 1, i + 1, records[size_t(i)], kind);
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
