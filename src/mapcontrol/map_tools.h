#pragma once

#include "mapcontrol/map_types.h"

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

#include <functional>

namespace mapcontrol {

/// One mouse interaction on the map, in widget pixels. The map control forwards its mouse
/// events to the active tool; a tool starts at a mouse-down, follows the mouse, and once
/// finished() the control removes it and calls deliver(), which hands the result to the
/// callback given at construction. Tools never run an event loop of their own.
class MapTool {
public:
    virtual ~MapTool() = default;

    /// The mouse-down the tool begins at.
    virtual void start(QPointF position) = 0;
    /// Later events, forwarded while the tool is active.
    virtual void press(QPointF) {}
    virtual void move(QPointF) {}
    virtual void release(QPointF) {}
    virtual void doubleClick(QPointF) {}

    bool started() const { return started_; }
    bool finished() const { return finished_; }
    /// Calls the result callback; only once finished.
    virtual void deliver() = 0;
    /// Draws the widget's content while the tool runs: the map image plus the tool's feedback
    /// (uncovered parts are filled with the painter's background).
    virtual void paint(QPainter& painter, const QImage& map) const;

protected:
    bool started_ = false;
    bool finished_ = false;
};

/// Rubber-band rectangle from the mouse-down to the release.
class RectangleTool : public MapTool {
public:
    explicit RectangleTool(std::function<void(const QRectF&)> done) : done_(std::move(done)) {}
    void start(QPointF position) override;
    void move(QPointF position) override { corner_ = position; }
    void release(QPointF position) override;
    void deliver() override { done_(QRectF(anchor_, corner_).normalized()); }
    void paint(QPainter& painter, const QImage& map) const override;

private:
    std::function<void(const QRectF&)> done_;
    QPointF anchor_, corner_;
};

/// The view a "Zoom In" rectangle asks for, dragged (in map units) over `view`, one widget pixel
/// being `unitsPerPixel` map units wide: a click, or a drag of fewer than four pixels either way,
/// zooms in two times about the point clicked; a longer drag shows the rectangle dragged.
Rect zoomInView(const Rect& view, const Rect& dragged, double unitsPerPixel);

/// Polygon whose vertices are the mouse-down that starts it and every later click; a line
/// follows the mouse from the last vertex; a double-click ends it.
class PolygonTool : public MapTool {
public:
    explicit PolygonTool(std::function<void(const QPolygonF&)> done) : done_(std::move(done)) {}
    void start(QPointF position) override;
    void press(QPointF position) override { vertices_.append(position); }
    void move(QPointF position) override { pointer_ = position; }
    void doubleClick(QPointF position) override;
    void deliver() override { done_(vertices_); }
    void paint(QPainter& painter, const QImage& map) const override;

private:
    std::function<void(const QPolygonF&)> done_;
    QPolygonF vertices_;
    QPointF pointer_;
};

/// Drags the map image with the mouse; on release hands over how far it moved.
class PanTool : public MapTool {
public:
    explicit PanTool(std::function<void(QPointF offset)> done) : done_(std::move(done)) {}
    void start(QPointF position) override;
    void move(QPointF position) override { offset_ = position - anchor_; }
    void release(QPointF position) override;
    void deliver() override { done_(offset_); }
    void paint(QPainter& painter, const QImage& map) const override;

private:
    std::function<void(QPointF)> done_;
    QPointF anchor_, offset_;
};

} // namespace mapcontrol
