#pragma once

#include <QColor>
#include <QWidget>

namespace quillfen {

enum class SampleMarker;

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

/// The swatch shape of a sample layer's marker.
LegendSwatch::Shape swatchShapeOfMarker(SampleMarker marker);

} // namespace quillfen
