#pragma once

#include <QColor>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace mapcontrol {

/// A 24-bit colour packed as 0x00BBGGRR (red in the low byte), as the map's callers give it.
using PackedColor = quint32;

inline QColor toQColor(PackedColor c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline PackedColor packColor(int red, int green, int blue) {
    return PackedColor(red) | (PackedColor(green) << 8) | (PackedColor(blue) << 16);
}

/// A rectangle in map units (metres), x growing east and y growing north.
struct Rect {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;

    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
    QPointF center() const { return {(minX + maxX) / 2, (minY + maxY) / 2}; }
    bool isEmpty() const { return !(width() > 0) || !(height() > 0); }
    bool contains(QPointF p) const {
        return p.x() >= minX && p.x() <= maxX && p.y() >= minY && p.y() <= maxY;
    }
    bool intersects(const Rect& o) const {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
    /// The smallest rectangle holding both (an empty rectangle counts as nothing).
    Rect united(const Rect& o) const;
    /// ScaleRectangle: the rectangle grown by `factor` about its centre (shrunk below 1).
    Rect scaled(double factor) const;
    /// The rectangle moved by `offset` (map units), keeping its size.
    Rect translated(QPointF offset) const {
        return {minX + offset.x(), minY + offset.y(), maxX + offset.x(), maxY + offset.y()};
    }
    static Rect fromCorners(QPointF a, QPointF b);
    bool operator==(const Rect& o) const {
        return minX == o.minX && minY == o.minY && maxX == o.maxX && maxY == o.maxY;
    }
};

/// Symbol type codes and style codes as the map's callers give them.
enum class SymbolType { Point = 0, Line = 1, Fill = 2 };
enum PointStyle { Circle = 0, Square = 1, Triangle = 2, Cross = 3 };
enum LineStyle { SolidLine = 0 };

/// How one feature, or every feature of a layer, is drawn. `size` is the marker's diameter
/// (or the line's width) in pixels at scale 1.
struct Symbol {
    SymbolType type = SymbolType::Point;
    PackedColor color = 0x000000;
    int style = 0;
    bool outline = true;
    PackedColor outlineColor = 0x000000;
    double size = kDefaultMarkerSize;

    static constexpr double kDefaultMarkerSize = 8.0;
};

/// A feature's geometry in map units: none, a point, a polyline or a polygon. Lines and
/// polygons may have several parts; `partStarts` holds the index in `points` where each part
/// begins (the first is 0). Polygon rings are closed implicitly.
struct Shape {
    enum class Kind { None, Point, Line, Polygon };
    Kind kind = Kind::None;
    QVector<QPointF> points;
    QVector<int> partStarts;

    bool isNull() const { return kind == Kind::None || points.isEmpty(); }
    static Shape point(QPointF p) { return {Kind::Point, {p}, {0}}; }
    static Shape polygon(const QVector<QPointF>& ring) { return {Kind::Polygon, ring, {0}}; }
    Rect extent() const;
    /// Even-odd point-in-polygon over every ring (false unless the shape is a polygon).
    bool containsPoint(QPointF p) const;
};

/// StringSet: distinct texts in order of first addition.
class StringSet {
public:
    void add(const QString& value) {
        if (!seen_.contains(value)) {
            seen_.insert(value);
            items_.append(value);
        }
    }
    int count() const { return int(items_.size()); }
    QString item(int index) const { return items_.at(index); }

private:
    QSet<QString> seen_;
    QStringList items_;
};

} // namespace mapcontrol
