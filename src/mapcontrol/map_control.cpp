#include "mapcontrol/map_control.h"

#include "mapcontrol/dataset_cache.h"
#include "mapcontrol/map_marks.h"
#include "mapcontrol/map_navigation.h"
#include "mapcontrol/map_renderer.h"
#include "mapcontrol/map_search.h"
#include "mapcontrol/map_tools.h"
#include "mapcontrol/view_transform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>

namespace mapcontrol {

namespace {
const QColor kBackground = Qt::white;
} // namespace

struct MapControl::RenderTarget {
    MapRenderer& renderer;
};

MapControl::MapControl(QWidget* parent)
    : QWidget(parent), datasets_(std::make_unique<DatasetCache>()),
      markers_(std::make_unique<MarkerCache>()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

MapControl::~MapControl() = default;

bool MapControl::openFolder(const QString& folder) {
    return datasets_->openFolder(folder);
}

DatasetPtr MapControl::findDataset(const QString& name, QString* problem) {
    return datasets_->find(name, problem);
}

void MapControl::addLayer(LayerPtr layer) {
    if (!layer)
        return;
    const bool firstLayer = layers_.empty();
    layers_.insert(layers_.begin(), std::move(layer));
    if (firstLayer)
        setViewBounds(layers_.front()->extent());
    else
        scheduleRedraw();
}

void MapControl::removeLayer(int position) {
    if (position < 0 || position >= layerCount())
        return;
    layers_.erase(layers_.begin() + position);
    scheduleRedraw();
}

LayerPtr MapControl::layer(int position) const {
    if (position < 0 || position >= layerCount())
        return nullptr;
    return layers_[size_t(position)];
}

LayerPtr MapControl::layerNamed(const QString& name) const {
    for (const LayerPtr& layer : layers_) {
        if (layer->name().compare(name, Qt::CaseInsensitive) == 0)
            return layer;
    }
    return nullptr;
}

void MapControl::setViewBounds(const Rect& bounds) {
    if (!(bounds.width() > 0) && !(bounds.height() > 0) && !view_.isEmpty())
        requested_ = view_.translated(bounds.center() - view_.center());
    else
        requested_ = bounds;
    view_ = ViewTransform::fit(requested_, size());
    redrawAll();
}

Rect MapControl::wholeBounds() const {
    Rect whole;
    for (const LayerPtr& layer : layers_)
        whole = whole.united(layer->extent());
    return whole;
}

ViewTransform MapControl::screenTransform() const {
    // A hidden widget is resized without a resize event; fitting again keeps the aspect right.
    return ViewTransform(ViewTransform::fit(view_, size()), size());
}

QPointF MapControl::screenToMap(QPointF widgetPoint) const {
    return screenTransform().toMap(widgetPoint);
}

QPointF MapControl::mapToScreen(QPointF mapPoint) const {
    return screenTransform().toPixel(mapPoint);
}

void MapControl::render(QImage& image, const ViewTransform& transform, double scale, const QRect& clip) {
    QPainter painter(&image);
    drawInImagePixels(painter, image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = clip.isEmpty() ? image.rect() : clip;
    painter.setClipRect(area);
    painter.fillRect(area, kBackground);
    MapRenderer renderer(painter, transform, scale, *markers_);
    RenderTarget target{renderer};
    target_ = &target;
    // A slot may change the stack while it is being drawn; draw the stack as it was.
    const std::vector<LayerPtr> stack = layers_;
    for (int position = int(stack.size()) - 1; position >= 0; --position) {
        const Layer& layer = *stack[size_t(position)];
        if (!layer.visible)
            continue;
        emit layerDrawStarting(position);
        renderer.drawLayer(layer);
        emit layerDrawn(position);
    }
    drawMarks(painter, transform, scale);
    target_ = nullptr;
    // A redraw asked for while this one was drawing (while a selection waited for a table)
    // comes after it.
    if (redrawPending_) {
        redrawPending_ = false;
        scheduleRedraw();
    }
}

qreal MapControl::bufferRatio() const {
    return devicePixelRatioF();
}

ViewTransform MapControl::bufferTransform() const {
    return screenTransform().scaled(bufferRatio());
}

void MapControl::drawInImagePixels(QPainter& painter, const QImage& image) {
    const qreal ratio = image.devicePixelRatio();
    painter.scale(1 / ratio, 1 / ratio);
}

void MapControl::redrawAll() {
    if (target_ != nullptr) {
        scheduleRedraw();
        return;
    }
    redrawPending_ = false;
    const ViewTransform transform = bufferTransform();
    if (buffer_.size() != transform.pixels() || buffer_.devicePixelRatio() != bufferRatio()) {
        buffer_ = QImage(transform.pixels(), QImage::Format_ARGB32_Premultiplied);
        buffer_.setDevicePixelRatio(bufferRatio());
    }
    render(buffer_, transform, bufferRatio(), QRect());
    update();
}

void MapControl::redrawArea(const Rect& area) {
    const ViewTransform transform = bufferTransform();
    // After the stack has changed a whole redraw is due anyway: draw it now, in place of the
    // area and of the one scheduled, so that a rebuilt stack is drawn once.
    if (target_ != nullptr || redrawPending_ || buffer_.size() != transform.pixels()) {
        redrawAll();
        return;
    }
    const QRect clip = transform.toPixel(area).toAlignedRect().intersected(buffer_.rect());
    if (clip.isEmpty())
        return;
    render(buffer_, transform, bufferRatio(), clip);
    update(
        QRectF(QPointF(clip.topLeft()) / bufferRatio(), QSizeF(clip.size()) / bufferRatio()).toAlignedRect());
}

void MapControl::scheduleRedraw() {
    if (redrawPending_)
        return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (redrawPending_ && target_ == nullptr)
                redrawAll();
        },
        Qt::QueuedConnection);
}

void MapControl::paintShape(const Shape& shape, const Symbol& symbol) {
    paintOnTop([&](MapRenderer& renderer) { renderer.paintShape(shape, symbol); });
}

void MapControl::paintFeatures(const Dataset& dataset, const QVector<int>& features, const Symbol& symbol) {
    paintOnTop([&](MapRenderer& renderer) { renderer.paintFeatures(dataset, features, symbol); });
}

void MapControl::paintOnTop(const std::function<void(MapRenderer&)>& paint) {
    if (target_ != nullptr) {
        paint(target_->renderer);
        return;
    }
    if (buffer_.isNull())
        return;
    QPainter painter(&buffer_);
    drawInImagePixels(painter, buffer_);
    painter.setRenderHint(QPainter::Antialiasing);
    MapRenderer renderer(painter, bufferTransform(), bufferRatio(), *markers_);
    paint(renderer);
    update();
}

void MapControl::dragRectangle(std::function<void(const Rect&)> done) {
    startTool(std::make_unique<RectangleTool>(
        [this, done](const QRectF& pixels) { done(screenTransform().toMap(pixels)); }));
}

void MapControl::dragPolygon(std::function<void(const Shape&)> done) {
    startTool(std::make_unique<PolygonTool>([this, done](const QPolygonF& pixels) {
        QVector<QPointF> ring;
        for (const QPointF& p : pixels)
            ring.append(screenToMap(p));
        done(Shape::polygon(ring));
    }));
}

void MapControl::dragPan() {
    startTool(std::make_unique<PanTool>([this](QPointF offset) {
        // The map moves with the mouse: the view moves the other way, and y grows upwards.
        const double units = screenTransform().unitsPerPixel();
        setViewBounds(view_.translated({-offset.x() * units, offset.y() * units}));
    }));
}

void MapControl::dragZoomIn() {
    dragRectangle([this](const Rect& dragged) {
        setViewBounds(zoomInView(view_, dragged, view_.width() / std::max(1, width())));
    });
}

void MapControl::startTool(std::unique_ptr<MapTool> tool) {
    if (tool_)
        return;
    tool_ = std::move(tool);
    if (buttonDown_)
        tool_->start(pressPosition_);
    update();
}

void MapControl::finishToolIfDone() {
    if (!tool_ || !tool_->finished())
        return;
    const std::unique_ptr<MapTool> finished = std::move(tool_);
    update();
    finished->deliver();
}

RecordCursor MapControl::searchExpression(const VectorLayer& layer, const QString& expression,
                                          QString* error) const {
    return mapcontrol::searchExpression(layer, expression, error);
}

RecordCursor MapControl::searchShape(const VectorLayer& layer, const Shape& shape, int relation,
                                     const QString& expression, QString* error) const {
    return mapcontrol::searchShape(layer, shape, relation, expression, error);
}

std::vector<bool> MapControl::featuresInside(const VectorLayer& layer, const Shape& shape) const {
    return mapcontrol::featuresInside(layer, shape);
}

void MapControl::paintEvent(QPaintEvent* event) {
    // On a screen of another pixel ratio the buffer is shown at its own size until it has
    // been drawn again at the new one.
    if (!buffer_.isNull() && buffer_.devicePixelRatio() != bufferRatio())
        scheduleRedraw();
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.setBackground(kBackground);
    if (tool_ && tool_->started()) {
        tool_->paint(painter, buffer_);
    } else {
        painter.fillRect(rect(), kBackground);
        painter.drawImage(0, 0, buffer_);
    }
    paintFlash(painter);
    drawFocusFrame(painter, *this);
}

void MapControl::resizeEvent(QResizeEvent* event) {
    const QSize old = event->oldSize();
    if (!old.isValid() || old.isEmpty() || view_.isEmpty()) {
        view_ = ViewTransform::fit(requested_, size());
    } else {
        // Keep the centre and the map units per pixel; the view grows or shrinks with the widget.
        const double units = view_.width() / old.width();
        const QPointF c = view_.center();
        const double halfWidth = width() * units / 2;
        const double halfHeight = height() * units / 2;
        view_ = {c.x() - halfWidth, c.y() - halfHeight, c.x() + halfWidth, c.y() + halfHeight};
    }
    redrawAll();
}

void MapControl::pressAt(QPointF position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                         bool doubleClick) {
    buttonDown_ = true;
    pressPosition_ = position;
    const MapTool* before = tool_.get();
    emit mapMouseDown(button, modifiers, position.toPoint());
    // A tool started by a slot of mapMouseDown has already begun at this press.
    if (tool_ && tool_.get() == before) {
        if (!tool_->started())
            tool_->start(position);
        else if (doubleClick)
            tool_->doubleClick(position);
        else
            tool_->press(position);
    }
    finishToolIfDone();
}

void MapControl::mousePressEvent(QMouseEvent* event) {
    pressAt(event->position(), event->button(), event->modifiers(), false);
}

void MapControl::mouseDoubleClickEvent(QMouseEvent* event) {
    pressAt(event->position(), event->button(), event->modifiers(), true);
}

void MapControl::mouseMoveEvent(QMouseEvent* event) {
    emit mapMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
    if (tool_ && tool_->started()) {
        tool_->move(event->position());
        update();
    }
}

void MapControl::mouseReleaseEvent(QMouseEvent* event) {
    buttonDown_ = event->buttons() != Qt::NoButton;
    if (tool_ && tool_->started())
        tool_->release(event->position());
    finishToolIfDone();
}

void MapControl::keyPressEvent(QKeyEvent* event) {
    if (tool_) {
        if (event->key() == Qt::Key_Escape) {
            tool_.reset();
            update();
        }
        return;
    }
    if (const std::optional<Rect> view = viewAfterKey(event->key(), view_, wholeBounds()))
        setViewBounds(*view);
    else
        QWidget::keyPressEvent(event);
}

void MapControl::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (tool_ || notches == 0) {
        event->ignore();
        return;
    }
    setViewBounds(viewAfterWheel(view_, screenToMap(event->position()), notches));
}

} // namespace mapcontrol
