#pragma once

#include <QColor>
#include <QWidget>

namespace quillfen {

/// A fixed legend drawing: a point marker, a filled rectangle, or a zigzag line, in one colour.
class LegendSwatch : public QWidget {
    Q_OBJECT
public:
    enum class Shape { Circle, Square, Triangle, Cross, FilledRectangle, Zigzag };
    LegendSwatch(Shape shape, QColor color, QWidget* parent = nullptr);

    Shape shape() const { return shape_; }
    QColor color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape shape_;
    QColor color_;
};

/// The swatch shape of a point marker style (circle, square, triangle, cross).
LegendSwatch::Shape swatchShapeOfMarker(int markerStyle);

}  // namespace quillfen
