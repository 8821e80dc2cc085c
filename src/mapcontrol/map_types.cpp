#include "mapcontrol/map_types.h"

#include <algorithm>

namespace mapcontrol {

Rect Rect::united(const Rect& o) const {
    if (o.isEmpty())
        return *this;
    if (isEmpty())
        return o;
    return {std::min(minX, o.minX), std::min(minY, o.minY), std::max(maxX, o.maxX), std::max(maxY, o.maxY)};
}

Rect Rect::scaled(double factor) const {
    const QPointF c = center();
    const double halfWidth = width() * factor / 2;
    const double halfHeight = height() * factor / 2;
    return {c.x() - halfWidth, c.y() - halfHeight, c.x() + halfWidth, c.y() + halfHeight};
}

Rect Rect::fromCorners(QPointF a, QPointF b) {
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y())};
}

Rect Shape::extent() const {
    if (points.isEmpty())
        return {};
    Rect r{points[0].x(), points[0].y(), points[0].x(), points[0].y()};
    for (const QPointF& p : points) {
        r.minX = std::min(r.minX, p.x());
        r.minY = std::min(r.minY, p.y());
        r.maxX = std::max(r.maxX, p.x());
        r.maxY = std::max(r.maxY, p.y());
    }
    return r;
}

bool Shape::containsPoint(QPointF p) const {
    if (kind != Kind::Polygon)
        return false;
    bool inside = false;
    const int partCount = int(partStarts.size());
    for (int part = 0; part < partCount; ++part) {
        const int begin = partStarts[part];
        const int end = part + 1 < partCount ? partStarts[part + 1] : int(points.size());
        // Ray cast towards +x: each edge that straddles the point's y and crosses to its right
        // flips the state, which is the even-odd rule over every ring at once.
        for (int i = begin, j = end - 1; i < end; j = i++) {
            const QPointF& a = points[i];
            const QPointF& b = points[j];
            if ((a.y() > p.y()) != (b.y() > p.y())) {
                const double crossX = a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
                if (p.x() < crossX)
                    inside = !inside;
            }
        }
    }
    return inside;
}

} // namespace mapcontrol
