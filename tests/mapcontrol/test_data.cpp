#include "test_data.h"

#include "tabledb/shape_driver.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <stdexcept>

namespace testdata {

void writeShapes(const QString& folder, const QString& name, const QStringList& shapes,
                 const std::vector<Column>& columns) {
    GDALAllRegister();
    const QString path = folder + "/" + name + ".shp";
    GDALDatasetUniquePtr dataset(
        tabledb::shapeDriver()->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    // An unknown geometry type: the file takes the type of the first shape written.
    OGRLayer* layer =
        dataset ? dataset->CreateLayer(name.toUtf8().constData(), nullptr, wkbUnknown, nullptr) : nullptr;
    if (!layer)
        throw std::runtime_error("cannot create " + path.toStdString());
    for (const Column& column : columns) {
        const int type = column.values.value(0).typeId();
        const OGRFieldType fieldType = type == QMetaType::Int      ? OFTInteger
                                       : type == QMetaType::Double ? OFTReal
                                                                   : OFTString;
        OGRFieldDefn field(column.name.toUtf8().constData(), fieldType);
        layer->CreateField(&field);
    }
    for (int i = 0; i < shapes.size(); ++i) {
        OGRFeature feature(layer->GetLayerDefn());
        // OGR converts the text to the field's type.
        for (int c = 0; c < int(columns.size()); ++c)
            feature.SetField(c, columns[size_t(c)].values[i].toString().toUtf8().constData());
        OGRGeometry* shape = nullptr;
        OGRGeometryFactory::createFromWkt(shapes[i].toUtf8().constData(), nullptr, &shape);
        feature.SetGeometryDirectly(shape);
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            throw std::runtime_error("cannot write a feature of " + path.toStdString());
    }
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
