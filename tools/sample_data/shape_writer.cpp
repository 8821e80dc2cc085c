#include "shape_writer.h"

#include "tabledb/shape_driver.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <stdexcept>

namespace quillfen::sample_data {
namespace {

constexpr int kUtmZone15Nad83 = 26915;
const char* const kFixedUpdateDate = "DBF_DATE_LAST_UPDATE=2003-01-15";

void removeOldFiles(const QDir& folder, const QString& name) {
    for (const char* extension : {".shp", ".shx", ".dbf", ".prj", ".cpg"})
        QFile::remove(folder.filePath(name + QLatin1String(extension)));
}

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

} // namespace

ShapeWriter::ShapeWriter(const QString& folder, const QString& name, OGRwkbGeometryType geometryType,
                         const std::vector<FieldSpec>& fields)
    : fields_(fields), name_(name) {
    const QDir dir(folder);
    removeOldFiles(dir, name);
    const bool tableOnly = geometryType == wkbNone;
    const QString path = dir.filePath(name + (tableOnly ? QStringLiteral(".dbf") : QStringLiteral(".shp")));
    GDALDriver* driver = tabledb::shapeDriver();
    if (!driver)
        fail(QStringLiteral("the shapefile driver is missing"));
    dataset_ = driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr);
    if (!dataset_)
        fail(QStringLiteral("cannot create %1").arg(path));

    OGRSpatialReference srs;
    srs.importFromEPSG(kUtmZone15Nad83);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const char* options[] = {kFixedUpdateDate, nullptr};
    layer_ = dataset_->CreateLayer(name.toUtf8().constData(), tableOnly ? nullptr : &srs, geometryType,
                                   const_cast<char**>(options));
    if (!layer_)
        fail(QStringLiteral("cannot create the layer %1").arg(name));
    for (const FieldSpec& column : fields_) {
        OGRFieldDefn definition(column.name.toUtf8().constData(), column.type);
        definition.SetWidth(column.width);
        definition.SetPrecision(column.precision);
        if (layer_->CreateField(&definition) != OGRERR_NONE)
            fail(QStringLiteral("cannot create the field %1 of %2").arg(column.name, name));
    }
}

ShapeWriter::~ShapeWriter() {
    GDALClose(dataset_);
}

void ShapeWriter::write(const OGRGeometry* geometry, const std::vector<QVariant>& values) {
    OGRFeature feature(layer_->GetLayerDefn());
    if (geometry)
        feature.SetGeometry(geometry);
    for (int i = 0; i < static_cast<int>(fields_.size()); ++i) {
        const QVariant& value = values.at(i);
        if (value.isNull()) {
            feature.SetFieldNull(i);
            continue;
        }
        switch (fields_[i].type) {
        case OFTInteger:
            feature.SetField(i, value.toInt());
            break;
        case OFTReal:
            feature.SetField(i, value.toDouble());
            break;
        case OFTDate: {
            const QDate date = value.toDate();
            feature.SetField(i, date.year(), date.month(), date.day());
            break;
        }
        default:
            feature.SetField(i, value.toString().toUtf8().constData());
            break;
        }
    }
    if (layer_->CreateFeature(&feature) != OGRERR_NONE)
        fail(QStringLiteral("cannot write a record of %1").arg(name_));
}

} // namespace quillfen::sample_data
