#include "base_layers.h"

#include "catalogue/data_catalogue.h"
#include "shape_writer.h"

namespace quillfen::sample_data {
namespace {

void writeOutline(const Reach& reach, const QString& folder) {
    ShapeWriter writer(folder, kOutlineLayer, wkbPolygon, {{"name", OFTString, 24, 0}});
    writer.write(reach.outline.get(), {QStringLiteral("Fenmark Reach")});
}

void writeLandWater(const Reach& reach, const QString& folder) {
    ShapeWriter writer(folder, kLandCoverLayer, wkbPolygon,
                       {{kLandCoverField, OFTInteger, 4, 0}, {kLandClassField, OFTInteger, 4, 0}});
    for (const CoverPolygon& piece : reach.cover)
        writer.write(piece.polygon.get(), {piece.landWater, piece.coverClass});
}

void writeStructures(const Reach& reach, const QString& folder) {
    ShapeWriter writer(folder, kStructuresLayer, wkbLineString, {{"type", OFTString, 16, 0}});
    for (const Structure& structure : reach.structures) {
        // A levee cut by the water comes as a collection; each stretch is its own record.
        if (OGR_GT_IsSubClassOf(structure.line->getGeometryType(), wkbGeometryCollection)) {
            for (const OGRGeometry* part : *structure.line->toGeometryCollection()) {
                if (wkbFlatten(part->getGeometryType()) == wkbLineString)
                    writer.write(part, {structure.type});
            }
        } else {
            writer.write(structure.line.get(), {structure.type});
        }
    }
}

void writeMiles(const Reach& reach, const QString& folder) {
    ShapeWriter writer(folder, kRiverMilesLayer, wkbPoint, {{kRiverMileField, OFTReal, 6, 1}});
    for (const MilePoint& mile : reach.miles) {
        const OGRPoint point(mile.at.x(), mile.at.y());
        writer.write(&point, {mile.mile});
    }
}

} // namespace

void writeBaseLayers(const Reach& reach, const QString& folder) {
    writeOutline(reach, folder);
    writeLandWater(reach, folder);
    writeStructures(reach, folder);
    writeMiles(reach, folder);
}

} // namespace quillfen::sample_data
