#pragma once

#include "mapcontrol/map_layers.h"

#include <QColor>
#include <QTimer>
#include <QVector>

namespace mapcontrol {

/// Features of one dataset to mark on the map, by feature index.
struct MarkedFeatures {
    DatasetPtr dataset;
    QVector<int> features;
};

/// What the map marks over its layers: rings around marked features, kept across redraws
/// until replaced, and a ring that flashes a few times around one feature.
struct MapMarks {
    /// The ring's colour and radius in pixels at scale 1, clear of a marker of the default size.
    static inline const QColor kRingColor{160, 0, 255};
    static constexpr double kRingRadius = 8.0;
    static constexpr double kRingWidth = 2.5;
    static constexpr double kFlashRadius = 14.0;
    static constexpr int kFlashPhases = 6;
    static constexpr int kFlashPhaseMs = 150;

    QVector<MarkedFeatures> marked;
    DatasetPtr flashDataset;
    int flashFeature = -1;
    int flashPhasesLeft = 0;
    QTimer flashTimer;
};

} // namespace mapcontrol
