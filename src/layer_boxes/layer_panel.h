#pragma once

#include "layer_boxes/layer_selection.h"
#include "window_parts/tab_panel.h"

class QCheckBox;

namespace quillfen {

/// The five boxes of the "Base Map" tab.
struct BaseMapBoxes {
    QCheckBox* check_land_water = nullptr; ///< "1989 Land / Water", ticked at start
    QCheckBox* Check_landcover = nullptr;  ///< "1989 Landcover / Use"
    QCheckBox* chkStructures = nullptr;    ///< "1989 Structures"
    QCheckBox* Check30 = nullptr;          ///< "River Miles"
    QCheckBox* Check_drg = nullptr;        ///< "1:100K Fenmark Quadrangle"
};

/// Builds the tabbed layer panel SSTab1: the sample tabs with their boxes, headings and
/// legend swatches, and the "Base Map" tab with its boxes and legends, in front. The sample
/// boxes are handed to `selection`, the base boxes to `base`. Geometry is in the panel's
/// own coordinates, from the designed twips.
TabPanel* buildLayerPanel(QWidget* parent, LayerSelection& selection, BaseMapBoxes& base);

} // namespace quillfen
