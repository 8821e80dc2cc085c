#pragma once

#include "random.h"

#include <ogr_geometry.h>

#include <QPointF>
#include <QRectF>

#include <vector>

namespace quillfen::sample_data {

/// Places random points inside a (multi)polygon quickly: an even-odd test over the ring edges
/// of one horizontal strip, and a list of grid cells that touch the polygon to draw from, so
/// that even a thin region costs only a few tries per point.
class RegionSampler {
public:
    explicit RegionSampler(const OGRGeometry& region);

    bool isEmpty() const { return cells_.empty(); }
    bool contains(const QPointF& point) const;
    /// A point inside the region; the region must not be empty.
    QPointF samplePoint(Random& random) const;

private:
    struct Edge {
        double x1, y1, x2, y2;
    };
    void addRings(const OGRGeometry& geometry);
    void addRing(const OGRLinearRing& ring);
    void indexEdges();
    void findCells();
    int stripOf(double y) const;
    /// Sorted x of the ring edges crossing the horizontal line at y.
    std::vector<double> crossingsAt(double y) const;

    QRectF bounds_;
    std::vector<Edge> edges_;
    std::vector<std::vector<int>> strips_;
    double stripHeight_ = 1.0;
    std::vector<QPointF> cells_; ///< lower-left corners of cells that touch the region
    double cellSize_ = 1.0;
};

} // namespace quillfen::sample_data
