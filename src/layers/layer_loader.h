#pragma once

#include <QString>
#include <QStringList>

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// Which layers the map is to hold: the base-map boxes and the codes of the ticked sample
/// boxes in loading order (water quality, fish, macro-invertebrates, vegetation, each by index).
struct DrawLayerChoice {
    bool quadrangle = false;  ///< "1:100K Fenmark Quadrangle"
    bool landWater = false;   ///< "1989 Land / Water"
    bool landCover = false;   ///< "1989 Landcover / Use"
    bool structures = false;  ///< "1989 Structures"
    bool riverMiles = false;  ///< "River Miles"
    QStringList sampleLayers;
};

/// Rebuilds the map's layer stack from the data folder and redraws the current view.
///
/// All layers but the bottom one are removed (the first white base layer ever loaded stays),
/// then the white base, the raster, land/water, land cover/use, structures, river miles and
/// the sample layers are added in that order, each on top. A dataset or raster that is
/// missing or unreadable is skipped, and its file name added to `missing` when given.
void set_draw_layers(mapcontrol::MapControl& map, const QString& dataPath, const DrawLayerChoice& choice,
                     QStringList* missing = nullptr);

}  // namespace quillfen
