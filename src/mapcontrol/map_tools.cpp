#include "mapcontrol/map_tools.h"

namespace mapcontrol {

namespace {
// A drag shorter than this either way counts as a click.
constexpr double kClickPixels = 4;
// Two clicks of a double-click closer than this land on the same vertex.
constexpr double kSameVertexPixels = 2.0;

void drawRubberBand(QPainter& painter, const QPolygonF& line, bool closed) {
    painter.setBrush(Qt::NoBrush);
    // A white line under a dashed black one shows on dark and light maps alike.
    for (const QPen& pen : {QPen(Qt::white, 1), QPen(Qt::black, 1, Qt::DashLine)}) {
        painter.setPen(pen);
        if (closed)
            painter.drawPolygon(line);
        else
            painter.drawPolyline(line);
    }
}
} // namespace

void MapTool::paint(QPainter& painter, const QImage& map) const {
    painter.drawImage(0, 0, map);
}

void RectangleTool::start(QPointF position) {
    started_ = true;
    anchor_ = corner_ = position;
}

void RectangleTool::release(QPointF position) {
    corner_ = position;
    finished_ = true;
}

void RectangleTool::paint(QPainter& painter, const QImage& map) const {
    MapTool::paint(painter, map);
    drawRubberBand(painter, QPolygonF(QRectF(anchor_, corner_).normalized()), true);
}

Rect zoomInView(const Rect& view, const Rect& dragged, double unitsPerPixel) {
    const double least = kClickPixels * unitsPerPixel;
    if (dragged.width() < least || dragged.height() < least) {
        const Rect half = view.scaled(0.5);
        return half.translated(dragged.center() - half.center());
    }
    return dragged;
}

void PolygonTool::start(QPointF position) {
    started_ = true;
    vertices_ = {position};
    pointer_ = position;
}

void PolygonTool::doubleClick(QPointF position) {
    const QPointF gap = position - vertices_.last();
    if (gap.manhattanLength() > kSameVertexPixels)
        vertices_.append(position);
    finished_ = true;
}

void PolygonTool::paint(QPainter& painter, const QImage& map) const {
    MapTool::paint(painter, map);
    QPolygonF line = vertices_;
    line.append(pointer_);
    drawRubberBand(painter, line, false);
}

void PanTool::start(QPointF position) {
    started_ = true;
    anchor_ = position;
}

void PanTool::release(QPointF position) {
    offset_ = position - anchor_;
    finished_ = true;
}

void PanTool::paint(QPainter& painter, const QImage& map) const {
    painter.fillRect(painter.viewport(), painter.background());
    painter.drawImage(offset_, map);
}

} // namespace mapcontrol
