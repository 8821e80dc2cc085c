#include "mapcontrol/view_transform.h"

#include <algorithm>
#include <cmath>

namespace mapcontrol {

namespace {
QSize atLeastOnePixel(QSize s) {
    return {std::max(1, s.width()), std::max(1, s.height())};
}
} // namespace

ViewTransform::ViewTransform(const Rect& view, QSize pixels) : view_(view), pixels_(atLeastOnePixel(pixels)) {
    unitsPerPixel_ = view_.width() / pixels_.width();
    if (!(unitsPerPixel_ > 0))
        unitsPerPixel_ = 1;
}

Rect ViewTransform::fit(const Rect& requested, QSize pixels) {
    const QSize size = atLeastOnePixel(pixels);
    const double pixelAspect = double(size.width()) / size.height();
    const QPointF c = requested.center();
    double halfWidth = requested.width() / 2;
    double halfHeight = requested.height() / 2;
    if (!(halfWidth > 0) && !(halfHeight > 0))
        halfWidth = halfHeight = 0.5;
    if (halfWidth < halfHeight * pixelAspect)
        halfWidth = halfHeight * pixelAspect;
    else
        halfHeight = halfWidth / pixelAspect;
    return {c.x() - halfWidth, c.y() - halfHeight, c.x() + halfWidth, c.y() + halfHeight};
}

QRectF ViewTransform::toPixel(const Rect& map) const {
    return QRectF(toPixel(QPointF(map.minX, map.maxY)), toPixel(QPointF(map.maxX, map.minY)));
}

Rect ViewTransform::toMap(const QRectF& pixel) const {
    return Rect::fromCorners(toMap(pixel.topLeft()), toMap(pixel.bottomRight()));
}

ViewTransform ViewTransform::scaled(double factor) const {
    const QSize size(int(std::lround(pixels_.width() * factor)), int(std::lround(pixels_.height() * factor)));
    return ViewTransform(view_, size);
}

} // namespace mapcontrol
