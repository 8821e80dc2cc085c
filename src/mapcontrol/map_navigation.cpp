#include "mapcontrol/map_navigation.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace mapcontrol {

std::optional<Rect> viewAfterKey(int key, const Rect& view, const Rect& whole) {
    const double quarterWidth = view.width() / 4;
    const double quarterHeight = view.height() / 4;
    switch (key) {
    case Qt::Key_Left:
        return view.translated({-quarterWidth, 0});
    case Qt::Key_Right:
        return view.translated({quarterWidth, 0});
    case Qt::Key_Up:
        return view.translated({0, quarterHeight});
    case Qt::Key_Down:
        return view.translated({0, -quarterHeight});
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return view.scaled(1 / kZoomStep);
    case Qt::Key_Minus:
        return view.scaled(kZoomStep);
    case Qt::Key_Home:
        if (whole.isEmpty())
            return std::nullopt;
        return whole;
    default:
        return std::nullopt;
    }
}

Rect viewAfterWheel(const Rect& view, QPointF anchor, double notches) {
    const double factor = std::pow(kZoomStep, -notches);
    return {anchor.x() + (view.minX - anchor.x()) * factor, anchor.y() + (view.minY - anchor.y()) * factor,
            anchor.x() + (view.maxX - anchor.x()) * factor, anchor.y() + (view.maxY - anchor.y()) * factor};
}

void drawFocusFrame(QPainter& painter, const QWidget& map) {
    if (!map.hasFocus() || !map.window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    // Two pixels of the highlight colour inside the edge show on any map.
    painter.save();
    painter.setClipping(false);
    painter.setPen(QPen(map.palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(map.rect()).adjusted(1, 1, -1, -1));
    painter.restore();
}

} // namespace mapcontrol
