#pragma once

#include "random.h"

#include <ogr_geometry.h>

#include <QPointF>
#include <QString>

#include <map>
#include <vector>

namespace quillfen::sample_data {

/// The parts of the reach's water in which samples are taken. Every sample stratum label
/// names one of them; the shoreline and offshore parts split a water body at 45 m from land.
enum class Region {
    MainChannel,
    MainChannelBorder,
    WingDamBorder,
    SideChannel,
    ContiguousBackwater,
    BackwaterShoreline,
    BackwaterOffshore,
    IsolatedBackwater,
    Impounded,
    ImpoundedShoreline,
    ImpoundedOffshore,
    TributaryDeltaLake,
};

/// One polygon of the land/water and land cover layer.
struct CoverPolygon {
    OGRGeometryUniquePtr polygon;
    int landWater;  ///< 1 land, 2 water
    int coverClass; ///< 1..13
};

/// One line of the structures layer.
struct Structure {
    OGRGeometryUniquePtr line;
    QString type;
};

struct MilePoint {
    QPointF at;
    double mile;
};

/// A name lettered on the topographic sheet: world position, direction and letter height (m).
struct PlaceName {
    QString text;
    QPointF at;
    double angleDegrees;
    double letterHeight;
};

/// The valley in its own frame: u across the valley (metres, 0 on the valley axis, positive on
/// the left bank looking upstream), v along it (metres upstream of the dam). The frame is
/// turned so that the river flows from north-west to south-east.
class ValleyFrame {
public:
    ValleyFrame(Random& random);
    QPointF toWorld(double u, double v) const;
    /// Distance from the axis to the bluff on one side (side -1 or +1) at v.
    double bluffDistance(int side, double v) const;
    /// u of the main channel's centre line at v.
    double channelCentre(double v) const;
    double angleDegrees() const;

    static constexpr double kLength = 26000.0;  ///< dam to upstream end
    static constexpr double kTailwater = 600.0; ///< valley floor kept below the dam
    static constexpr double kChannelHalfWidth = 210.0;

private:
    double phase_[6];
};

/// The whole river reach: every polygon, line and point of the base layers, the water regions
/// the samples are placed in, and the names lettered on the sheet. Coordinates are UTM zone 15
/// metres.
struct Reach {
    explicit Reach(Random& random) : frame(random) {}
    ValleyFrame frame;
    OGRGeometryUniquePtr outline;
    OGRGeometryUniquePtr water;
    OGRGeometryUniquePtr tributary; ///< the creek's whole course, also outside the valley
    std::vector<CoverPolygon> cover;
    std::vector<Structure> structures;
    std::vector<MilePoint> miles;
    std::map<Region, OGRGeometryUniquePtr> regions;
    std::vector<PlaceName> names;
};

/// Builds the reach from the random generator; the same generator state gives the same reach.
Reach buildReach(Random& random);

} // namespace quillfen::sample_data
