#include "dbf_writer.h"

#include "tabledb/shape_driver.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace {

void setValue(OGRFeature& feature, int field, const QVariant& value) {
    if (!value.isValid()) {
        feature.SetFieldNull(field);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        feature.SetField(field, date.year(), date.month(), date.day());
        return;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        feature.SetField(field, GIntBig(value.toLongLong()));
        return;
    case QMetaType::Double:
        feature.SetField(field, value.toDouble());
        return;
    default:
        feature.SetField(field, value.toString().toUtf8().constData());
    }
}

} // namespace

bool writeDbf(const QString& path, const QVector<FieldSpec>& fields, const QVector<QVariantList>& rows) {
    GDALAllRegister();
    QFile::remove(path);
    GDALDriver* driver = tabledb::shapeDriver();
    const GDALDatasetUniquePtr dataset(
        driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset)
        return false;
    const QByteArray layerName = QFileInfo(path).completeBaseName().toUtf8();
    OGRLayer* layer = dataset->CreateLayer(layerName.constData(), nullptr, wkbNone, nullptr);
    if (!layer)
        return false;
    for (const FieldSpec& column : fields) {
        OGRFieldDefn field(column.name.toUtf8().constData(), column.type);
        field.SetWidth(column.width);
        field.SetPrecision(column.precision);
        if (layer->CreateField(&field) != OGRERR_NONE)
            return false;
    }
    for (const QVariantList& row : rows) {
        OGRFeature feature(layer->GetLayerDefn());
        for (int i = 0; i < row.size(); ++i)
            setValue(feature, i, row[i]);
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return false;
    }
    return true;
}
