#pragma once

#include "mapcontrol/map_types.h"

#include <QString>

namespace quillfen {

/// The marker of one sample layer: its colour and point style (circle, square, triangle,
/// cross), drawn at the map's default marker size.
struct SampleSymbol {
    QString layerCode;
    int red, green, blue;
    mapcontrol::PointStyle style;

    mapcontrol::PackedColor packedColor() const { return mapcontrol::packColor(red, green, blue); }
    mapcontrol::Symbol mapSymbol() const;
    /// Its colour and marker as words, e.g. "red circle".
    QString description() const;
};

/// The symbol of a sample layer by its layer code (e.g. kxw93sm); nullptr for other layers.
const SampleSymbol* sampleSymbol(const QString& layerCode);

}  // namespace quillfen
