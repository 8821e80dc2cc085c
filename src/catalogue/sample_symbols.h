#pragma once

#include <QString>

namespace quillfen {

/// The shape of a sample layer's point marker.
enum class SampleMarker { Circle, Square, Triangle, Cross };

/// The marker of one sample layer: its colour (0 to 255 each) and shape, drawn at the map's
/// default marker size. Plain data: the map's own symbol is made from it where the layers load.
struct SampleSymbol {
    QString layerCode;
    int red, green, blue;
    SampleMarker marker;

    /// Its colour and marker as words, e.g. "red circle".
    QString description() const;
};

/// The symbol of a sample layer by its layer code (e.g. kxw93sm); nullptr for other layers.
const SampleSymbol* sampleSymbol(const QString& layerCode);

} // namespace quillfen
