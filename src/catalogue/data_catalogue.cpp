#include "catalogue/data_catalogue.h"

#include "catalogue/sample_schema.h"
#include "catalogue/sampling_periods.h"

namespace quillfen {
namespace {

const QString kShapes = QStringLiteral(".shp");

// clang-format off
const QVector<DataFile> kBaseFiles = {
    {kOutlineLayer + kShapes,    DataFileKind::PolygonLayer, {},                                true},
    {kQuadrangleRaster,          DataFileKind::Raster,       {},                                true},
    {kLandCoverLayer + kShapes,  DataFileKind::PolygonLayer, {kLandCoverField, kLandClassField}, true},
    {kStructuresLayer + kShapes, DataFileKind::LineLayer,    {},                                true},
    {kRiverMilesLayer + kShapes, DataFileKind::PointLayer,   {kRiverMileField},                 true},
};
// clang-format on

QStringList schemaFields(SampleKind kind) {
    QStringList fields;
    for (const SchemaField& field : sampleSchema(kind))
        fields << field.field;
    return fields;
}

bool recordsInCompanionTable(SampleKind kind) {
    return kind == SampleKind::Fish || kind == SampleKind::Veg;
}

QVector<DataFile> buildCatalogue() {
    QVector<DataFile> files = kBaseFiles;
    for (SampleKind kind : allSampleKinds()) {
        const QStringList layerFields =
            recordsInCompanionTable(kind) ? QStringList{kSiteCodeField} : schemaFields(kind);
        for (const SamplingPeriod& period : samplingPeriods(kind))
            files.append({layerCode(kind, period.periodCode) + ".shp", DataFileKind::PointLayer, layerFields,
                          period.enabled});
    }
    for (SampleKind kind : allSampleKinds()) {
        if (!recordsInCompanionTable(kind))
            continue;
        QStringList tableFields = schemaFields(kind);
        tableFields << kSiteCodeField;
        for (const SamplingPeriod& period : samplingPeriods(kind))
            files.append({companionTable(kind, period.periodCode) + ".dbf", DataFileKind::Table, tableFields,
                          period.enabled});
    }
    return files;
}

} // namespace

const QVector<DataFile>& dataFolderCatalogue() {
    static const QVector<DataFile> catalogue = buildCatalogue();
    return catalogue;
}

QString dataFileKindName(DataFileKind kind) {
    switch (kind) {
    case DataFileKind::PointLayer:
        return QStringLiteral("point layer");
    case DataFileKind::LineLayer:
        return QStringLiteral("line layer");
    case DataFileKind::PolygonLayer:
        return QStringLiteral("polygon layer");
    case DataFileKind::Raster:
        return QStringLiteral("raster image");
    case DataFileKind::Table:
        break;
    }
    return QStringLiteral("table");
}

} // namespace quillfen
