#include "layer_loading/legend_swatch.h"

#include "catalogue/sample_symbols.h"

#include <QPainter>
#include <QPainterPath>

namespace quillfen {

LegendSwatch::LegendSwatch(Shape shape, QColor color, QWidget* parent)
    : QWidget(parent), shape_(shape), color_(color) {}

LegendSwatch::Shape swatchShapeOfMarker(SampleMarker marker) {
    switch (marker) {
    case SampleMarker::Circle:
        return LegendSwatch::Shape::Circle;
    case SampleMarker::Square:
        return LegendSwatch::Shape::Square;
    case SampleMarker::Triangle:
        return LegendSwatch::Shape::Triangle;
    case SampleMarker::Cross:
        return LegendSwatch::Shape::Cross;
    }
    return LegendSwatch::Shape::Circle;
}

void LegendSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 4;
    const QRectF marker(QPointF((height() - side) / 2, (height() - side) / 2), QSizeF(side, side));
    QPen pen(color_, 2);
    switch (shape_) {
    case Shape::Circle:
        painter.setPen(Qt::NoPen);
        painter.setBrush(color_);
        painter.drawEllipse(marker);
        break;
    case Shape::Square:
        painter.setPen(Qt::NoPen);
        painter.setBrush(color_);
        painter.drawRect(marker);
        break;
    case Shape::Triangle: {
        // Three strokes, as the map legend has always drawn it.
        painter.setPen(pen);
        const QPointF top(marker.center().x(), marker.top());
        painter.drawLine(marker.bottomLeft(), top);
        painter.drawLine(top, marker.bottomRight());
        painter.drawLine(marker.bottomRight(), marker.bottomLeft());
        break;
    }
    case Shape::Cross:
        painter.setPen(pen);
        painter.drawLine(QPointF(marker.center().x(), marker.top()),
                         QPointF(marker.center().x(), marker.bottom()));
        painter.drawLine(QPointF(marker.left(), marker.center().y()),
                         QPointF(marker.right(), marker.center().y()));
        break;
    case Shape::FilledRectangle:
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(color_);
        painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
        break;
    case Shape::Zigzag: {
        painter.setPen(pen);
        QPainterPath path(QPointF(1, height() * 0.7));
        const int teeth = 4;
        for (int i = 1; i <= teeth; ++i)
            path.lineTo(1 + (width() - 2) * i / double(teeth), i % 2 ? height() * 0.3 : height() * 0.7);
        painter.drawPath(path);
        break;
    }
    }
}

} // namespace quillfen
