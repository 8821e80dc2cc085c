// The marks of the map control: rings over the layers around marked features, a flashing
// ring, and the pan that brings a point into view.

#include "mapcontrol/map_marks.h"

#include "mapcontrol/map_control.h"
#include "mapcontrol/view_transform.h"

#include <QPainter>

namespace mapcontrol {
namespace {

/// A point in view is "well inside" when it keeps this share of the view's size to each edge.
constexpr double kViewEdgeShare = 0.1;

/// Where a feature is ringed: each point of a point feature, the centre of another's extent.
QVector<QPointF> ringCentres(const Dataset& dataset, int feature) {
    QVector<QPointF> centres;
    if (feature < 0 || feature >= dataset.featureCount() || !dataset.hasGeometry(feature))
        return centres;
    if (dataset.geometryKind() != Dataset::GeometryKind::Point)
        return {dataset.featureExtent(feature).center()};
    const int end = dataset.pointBegin(dataset.partBegin(feature + 1));
    for (int i = dataset.pointBegin(dataset.partBegin(feature)); i < end; ++i)
        centres.append(dataset.point(i));
    return centres;
}

/// A ring in the marks' colour on a white halo, so that it shows on any background.
void drawRing(QPainter& painter, QPointF centre, double radius, double scale) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, (MapMarks::kRingWidth + 2) * scale));
    painter.drawEllipse(centre, radius * scale, radius * scale);
    painter.setPen(QPen(MapMarks::kRingColor, MapMarks::kRingWidth * scale));
    painter.drawEllipse(centre, radius * scale, radius * scale);
}

bool sameMarks(const QVector<MarkedFeatures>& a, const QVector<MarkedFeatures>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].dataset != b[i].dataset || a[i].features != b[i].features)
            return false;
    }
    return true;
}

} // namespace

MapMarks& MapControl::marks() {
    if (!marks_) {
        marks_ = std::make_unique<MapMarks>();
        marks_->flashTimer.setInterval(MapMarks::kFlashPhaseMs);
        connect(&marks_->flashTimer, &QTimer::timeout, this, [this] {
            if (--marks_->flashPhasesLeft <= 0)
                marks_->flashTimer.stop();
            update();
        });
    }
    return *marks_;
}

void MapControl::setMarkedFeatures(const QVector<MarkedFeatures>& marked) {
    if (sameMarks(marks().marked, marked))
        return;
    marks().marked = marked;
    redrawAll();
}

void MapControl::drawMarks(QPainter& painter, const ViewTransform& transform, double scale) {
    if (!marks_)
        return;
    painter.save();
    for (const MarkedFeatures& mark : marks_->marked) {
        for (int feature : mark.features) {
            for (const QPointF& centre : ringCentres(*mark.dataset, feature))
                drawRing(painter, transform.toPixel(centre), MapMarks::kRingRadius, scale);
        }
    }
    painter.restore();
}

void MapControl::bringIntoView(QPointF mapPoint) {
    const double marginX = view_.width() * kViewEdgeShare;
    const double marginY = view_.height() * kViewEdgeShare;
    const Rect wellInside{view_.minX + marginX, view_.minY + marginY, view_.maxX - marginX,
                          view_.maxY - marginY};
    if (view_.isEmpty() || wellInside.contains(mapPoint))
        return;
    // A rectangle without size moves the centre and keeps the scale.
    setViewBounds({mapPoint.x(), mapPoint.y(), mapPoint.x(), mapPoint.y()});
}

void MapControl::flashFeature(const DatasetPtr& dataset, int feature) {
    MapMarks& state = marks();
    state.flashDataset = dataset;
    state.flashFeature = feature;
    state.flashPhasesLeft = MapMarks::kFlashPhases;
    state.flashTimer.start();
    update();
}

void MapControl::paintFlash(QPainter& painter) {
    // The ring is lit in every other phase, starting lit.
    if (!marks_ || !marks_->flashDataset || marks_->flashPhasesLeft <= 0 || marks_->flashPhasesLeft % 2 != 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const QPointF& centre : ringCentres(*marks_->flashDataset, marks_->flashFeature))
        drawRing(painter, mapToScreen(centre), MapMarks::kFlashRadius, 1.0);
    painter.restore();
}

} // namespace mapcontrol
