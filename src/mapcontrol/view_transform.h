#pragma once

#include "mapcontrol/map_types.h"

#include <QPointF>
#include <QRectF>
#include <QSize>

namespace mapcontrol {

/// Maps between map units and the pixels of an image showing a view rectangle. Pixel
/// coordinates are continuous: (0, 0) is the top-left corner of the top-left pixel, y grows
/// downwards. The view always has the image's aspect ratio (see fit()).
class ViewTransform {
public:
    ViewTransform() = default;
    /// A transform showing `view` (which should already have the image's aspect ratio) in an
    /// image of `pixels`.
    ViewTransform(const Rect& view, QSize pixels);

    /// `requested` widened in one direction, about its centre, to the aspect ratio of `pixels`.
    static Rect fit(const Rect& requested, QSize pixels);

    const Rect& view() const { return view_; }
    QSize pixels() const { return pixels_; }
    /// Map units covered by one pixel.
    double unitsPerPixel() const { return unitsPerPixel_; }

    QPointF toPixel(QPointF map) const {
        return {(map.x() - view_.minX) / unitsPerPixel_, (view_.maxY - map.y()) / unitsPerPixel_};
    }
    QPointF toMap(QPointF pixel) const {
        return {view_.minX + pixel.x() * unitsPerPixel_, view_.maxY - pixel.y() * unitsPerPixel_};
    }
    QRectF toPixel(const Rect& map) const;
    Rect toMap(const QRectF& pixel) const;

    /// The same view shown in an image `factor` times as large on each side.
    ViewTransform scaled(double factor) const;

private:
    Rect view_{0, 0, 1, 1};
    QSize pixels_{1, 1};
    double unitsPerPixel_ = 1;
};

} // namespace mapcontrol
