#include "test_data.h"

#include "tabledb/shape_driver.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <stdexcept>

namespace testdata {

namespace {

OGRFieldType fieldType(const QVariant& first) {
    switch (first.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return OFTInteger;
    case QMetaType::Double:
        return OFTReal;
    default:
        return OFTString;
    }
}

template <typename AddGeometry>
void writeLayer(const QString& folder, const QString& name, OGRwkbGeometryType type, int count,
                const std::vector<Column>& columns, AddGeometry addGeometry) {
    GDALAllRegister();
    GDALDriver* driver = tabledb::shapeDriver();
    const QString path = folder + "/" + name + ".shp";
    GDALDatasetUniquePtr dataset(driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset)
        throw std::runtime_error("cannot create " + path.toStdString());
    OGRLayer* layer = dataset->CreateLayer(name.toUtf8().constData(), nullptr, type, nullptr);
    for (const Column& column : columns) {
        OGRFieldDefn field(column.name.toUtf8().constData(), fieldType(column.values.value(0)));
        if (field.GetType() == OFTReal)
            field.SetPrecision(3);
        layer->CreateField(&field);
    }
    for (int i = 0; i < count; ++i) {
        OGRFeatureUniquePtr feature(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        for (int c = 0; c < int(columns.size()); ++c) {
            const QVariant& value = columns[size_t(c)].values[i];
            if (value.typeId() == QMetaType::Double)
                feature->SetField(c, value.toDouble());
            else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                feature->SetField(c, value.toInt());
            else
                feature->SetField(c, value.toString().toUtf8().constData());
        }
        addGeometry(*feature, i);
        if (layer->CreateFeature(feature.get()) != OGRERR_NONE)
            throw std::runtime_error("cannot write a feature of " + path.toStdString());
    }
}

} // namespace

void writePoints(const QString& folder, const QString& name, const QVector<QPointF>& points,
                 const std::vector<Column>& columns) {
    writeLayer(folder, name, wkbPoint, int(points.size()), columns, [&](OGRFeature& feature, int i) {
        if (!std::isnan(points[i].x()))
            feature.SetGeometry(std::make_unique<OGRPoint>(points[i].x(), points[i].y()).get());
    });
}

void writePolygons(const QString& folder, const QString& name, const QVector<QVector<QPointF>>& rings,
                   const std::vector<Column>& columns) {
    writeLayer(folder, name, wkbPolygon, int(rings.size()), columns, [&](OGRFeature& feature, int i) {
        OGRLinearRing ring;
        for (const QPointF& p : rings[i])
            ring.addPoint(p.x(), p.y());
        ring.closeRings();
        OGRPolygon polygon;
        polygon.addRing(&ring);
        feature.SetGeometry(&polygon);
    });
}

void writePaletteRaster(const QString& path, int columns, int rows, const QVector<int>& cells,
                        const QVector<QColor>& palette, QPointF origin, double cellSize) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDatasetUniquePtr dataset(
        driver->Create(path.toUtf8().constData(), columns, rows, 1, GDT_Byte, nullptr));
    double geo[6] = {origin.x(), cellSize, 0, origin.y(), 0, -cellSize};
    dataset->SetGeoTransform(geo);
    GDALRasterBand* band = dataset->GetRasterBand(1);
    GDALColorTable table;
    for (int i = 0; i < int(palette.size()); ++i) {
        const GDALColorEntry entry{short(palette[i].red()), short(palette[i].green()),
                                   short(palette[i].blue()), 255};
        table.SetColorEntry(i, &entry);
    }
    band->SetColorTable(&table);
    std::vector<GByte> bytes(cells.begin(), cells.end());
    if (band->RasterIO(GF_Write, 0, 0, columns, rows, bytes.data(), columns, rows, GDT_Byte, 0, 0, nullptr) !=
        CE_None)
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace testdata
