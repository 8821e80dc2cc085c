#include "file_records.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QDate>
#include <QTest>

namespace datafiles {
namespace {

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

} // namespace

bool Record::hasPoint() const {
    return geometry && !geometry->IsEmpty() && wkbFlatten(geometry->getGeometryType()) == wkbPoint;
}

QPointF Record::point() const {
    return hasPoint() ? QPointF(geometry->toPoint()->getX(), geometry->toPoint()->getY()) : QPointF();
}

Records readRecords(const QString& path) {
    GDALAllRegister();
    Records records;
    const GDALDatasetUniquePtr dataset(
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
        if (const OGRGeometry* geometry = feature->GetGeometryRef())
            record.geometry.reset(geometry->clone());
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace datafiles
