#include "region_sampler.h"

#include <algorithm>
#include <cmath>

namespace quillfen::sample_data {
namespace {

constexpr int kStripCount = 1024;
constexpr int kCellsAcross = 400;
constexpr int kScanLinesPerCell = 4;

} // namespace

RegionSampler::RegionSampler(const OGRGeometry& region) {
    OGREnvelope envelope;
    region.getEnvelope(&envelope);
    bounds_ = QRectF(QPointF(envelope.MinX, envelope.MinY), QPointF(envelope.MaxX, envelope.MaxY));
    if (region.IsEmpty() || bounds_.width() <= 0 || bounds_.height() <= 0)
        return;
    addRings(region);
    indexEdges();
    findCells();
}

void RegionSampler::addRings(const OGRGeometry& geometry) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbPolygon) {
        for (const OGRLinearRing* ring : *geometry.toPolygon())
            addRing(*ring);
    } else if (type == wkbMultiPolygon || type == wkbGeometryCollection) {
        for (const OGRGeometry* part : *geometry.toGeometryCollection())
            addRings(*part);
    }
}

void RegionSampler::addRing(const OGRLinearRing& ring) {
    for (int i = 0; i + 1 < ring.getNumPoints(); ++i)
        edges_.push_back({ring.getX(i), ring.getY(i), ring.getX(i + 1), ring.getY(i + 1)});
}

int RegionSampler::stripOf(double y) const {
    const int strip = static_cast<int>((y - bounds_.top()) / stripHeight_);
    return std::clamp(strip, 0, kStripCount - 1);
}

void RegionSampler::indexEdges() {
    stripHeight_ = bounds_.height() / kStripCount;
    strips_.assign(kStripCount, {});
    for (int i = 0; i < static_cast<int>(edges_.size()); ++i) {
        const Edge& e = edges_[i];
        const int first = stripOf(std::min(e.y1, e.y2));
        const int last = stripOf(std::max(e.y1, e.y2));
        for (int s = first; s <= last; ++s)
            strips_[s].push_back(i);
    }
}

bool RegionSampler::contains(const QPointF& point) const {
    if (edges_.empty() || !bounds_.contains(point))
        return false;
    bool inside = false;
    for (double crossing : crossingsAt(point.y())) {
        if (crossing > point.x())
            inside = !inside;
    }
    return inside;
}

std::vector<double> RegionSampler::crossingsAt(double y) const {
    std::vector<double> crossings;
    for (int i : strips_[stripOf(y)]) {
        const Edge& e = edges_[i];
        if ((e.y1 > y) != (e.y2 > y))
            crossings.push_back(e.x1 + (y - e.y1) * (e.x2 - e.x1) / (e.y2 - e.y1));
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

/// Scans a few lines through every row of cells and keeps the cells that an inside stretch of
/// a line passes through.
void RegionSampler::findCells() {
    cellSize_ = std::max(bounds_.width(), bounds_.height()) / kCellsAcross;
    const int columns = static_cast<int>(std::ceil(bounds_.width() / cellSize_));
    for (double y = bounds_.top(); y < bounds_.bottom(); y += cellSize_) {
        std::vector<bool> touched(columns, false);
        for (int line = 0; line < kScanLinesPerCell; ++line) {
            const std::vector<double> crossings =
                crossingsAt(y + (line + 0.5) * cellSize_ / kScanLinesPerCell);
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                const int first = static_cast<int>((crossings[i] - bounds_.left()) / cellSize_);
                const int last = static_cast<int>((crossings[i + 1] - bounds_.left()) / cellSize_);
                for (int column = std::max(first, 0); column <= std::min(last, columns - 1); ++column)
                    touched[column] = true;
            }
        }
        for (int column = 0; column < columns; ++column) {
            if (touched[column])
                cells_.push_back(QPointF(bounds_.left() + column * cellSize_, y));
        }
    }
}

QPointF RegionSampler::samplePoint(Random& random) const {
    for (;;) {
        const QPointF& cell = cells_[random.integer(0, static_cast<int>(cells_.size()) - 1)];
        const QPointF candidate(cell.x() + random.unit() * cellSize_, cell.y() + random.unit() * cellSize_);
        if (contains(candidate))
            return candidate;
    }
}

} // namespace quillfen::sample_data
