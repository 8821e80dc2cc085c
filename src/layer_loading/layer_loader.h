#pragma once

// Layer loading (folder layer_loading): loading the data folder's layers into the map control,
// their renderers and legend swatches. Uses tabledb, mapcontrol and the catalogue.

#include <QString>
#include <QStringList>
#include <QVector>

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// Which layers the map is to hold: the base-map boxes and the codes of the ticked sample
/// boxes in loading order (water quality, fish, macro-invertebrates, vegetation, each by index).
struct DrawLayerChoice {
    bool quadrangle = false; ///< "1:100K Fenmark Quadrangle"
    bool landWater = false;  ///< "1989 Land / Water"
    bool landCover = false;  ///< "1989 Landcover / Use"
    bool structures = false; ///< "1989 Structures"
    bool riverMiles = false; ///< "River Miles"
    QStringList sampleLayers;
};

/// A file of the data folder that could not be read, or was read only in part.
struct DataProblem {
    QString file;        ///< its name in the data folder, e.g. "kxw93sm.shp"
    QString reason;      ///< why, e.g. "missing"
    bool leftOff = true; ///< the layer is left off the map; otherwise drawn without the faulty part

    bool operator==(const DataProblem& o) const {
        return file == o.file && reason == o.reason && leftOff == o.leftOff;
    }
};

/// Rebuilds the map's layer stack from the data folder and redraws the current view.
///
/// All layers but the bottom one are removed (the first white base layer ever loaded stays),
/// then the white base, the raster, land/water, land cover/use, structures, river miles and
/// the sample layers are added in that order, each on top. A dataset or raster that is
/// missing or unreadable is skipped; it, and each dataset read only in part, is added to
/// `problems` when given (each once).
void rebuildLayerStack(mapcontrol::MapControl& map, const QString& dataPath, const DrawLayerChoice& choice,
                       QVector<DataProblem>* problems = nullptr);

} // namespace quillfen
