#pragma once

// The map control (folder mapcontrol): datasets, the layer stack, drawing, tools, search and
// picture export. Uses only tabledb; knows nothing of samples, periods or windows.

#include "mapcontrol/map_layers.h"
#include "mapcontrol/map_types.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace mapcontrol {

class DatasetCache;
struct MapMarks;
struct MarkedFeatures;
class MapTool;
class MapRenderer;
class MarkerCache;
class ViewTransform;

/// The map: a stack of layers drawn into a back buffer over a view rectangle in map units.
///
/// Drawing is synchronous: setting the view, redrawAll() and redrawArea() render before they
/// return, bottom layer first, emitting layerDrawStarting(i) and layerDrawn(i) around each
/// layer (i is the layer's position in the stack). A slot connected to layerDrawn may call
/// paintShape(), which paints onto the image being rendered, on top of everything drawn so
/// far. paintEvent only copies the finished image to the screen. Only visible layers are
/// drawn and notified. A redraw requested from a slot during a redraw is done once the
/// current one has finished.
class MapControl : public QWidget {
    Q_OBJECT
public:
    explicit MapControl(QWidget* parent = nullptr);
    ~MapControl() override;

    // Data connection -----------------------------------------------------------------
    /// OpenFolder: true when the folder exists and can be read; may be called again.
    bool openFolder(const QString& folder);
    /// FindDataset: the dataset of the open folder with that file name (no extension), read
    /// once and cached; nullptr when missing or unreadable, with `problem` saying why.
    DatasetPtr findDataset(const QString& name, QString* problem = nullptr);

    // Layer stack (position 0 is the top) -------------------------------------------------
    int layerCount() const { return int(layers_.size()); }
    /// AddLayer: puts the layer at position 0, drawn above all others. The first layer added
    /// to an empty map sets the view to its extent (and so draws at once); otherwise adding
    /// and removing layers schedule one redraw for when control returns to the event loop,
    /// so that building a stack of many layers draws once. Call redrawAll() to draw at once.
    void addLayer(LayerPtr layer);
    /// RemoveLayer: removes the layer at a position (ignored when out of range).
    void removeLayer(int position);
    LayerPtr layer(int position) const;
    /// LayerNamed: the first layer in position order with that name (compared
    /// case-insensitively), or nullptr.
    LayerPtr layerNamed(const QString& name) const;

    // View ---------------------------------------------------------------------------------
    Rect viewBounds() const { return view_; }
    /// Sets the view (widened in one direction to the widget's aspect ratio) and redraws.
    /// A rectangle without width and height (a click rather than a drag) only moves the
    /// view's centre there, keeping the scale.
    void setViewBounds(const Rect& bounds);
    /// The rectangle covering every layer (layers with an empty extent count as nothing).
    Rect wholeBounds() const;
    /// Redraws the layers inside `area`; when layers were added or removed since the last
    /// redraw, redraws everything instead and drops the redraw they scheduled.
    void redrawArea(const Rect& area);
    void redrawAll();
    /// Widget pixels (continuous: (0, 0) is the widget's top-left corner) to map units.
    QPointF screenToMap(QPointF widgetPoint) const;
    QPointF mapToScreen(QPointF mapPoint) const;

    // Mouse tools: each starts at the current mouse-down and hands its result to `done` when
    // it ends (release for rectangle and pan, double-click for polygon). Called from a slot of
    // mapMouseDown, the tool begins at that press; called when no button is down, at the next
    // press. While a tool is active (toolActive()), further requests are ignored, so that a
    // mouse-down slot that starts a polygon on every press does not restart it at each vertex.
    // The callback runs from the mouse event that ends the tool, after the tool is removed. ----
    /// The rectangle dragged, in map units.
    void dragRectangle(std::function<void(const Rect&)> done);
    /// The polygon clicked (the starting press and each later click are vertices; the
    /// double-click ends it), in map units.
    void dragPolygon(std::function<void(const Shape&)> done);
    /// The map image follows the mouse; on release the view moves by the drag and redraws.
    void dragPan();
    /// "Zoom In": a rectangle dragged as dragRectangle() does, then the view it asks for by
    /// zoomInView() (a click zooms in two times about the point clicked) is set.
    void dragZoomIn();
    bool toolActive() const { return tool_ != nullptr; }

    // Keyboard and wheel (the map takes the focus by click and Tab): arrows pan a quarter of
    // the view, + and - zoom about its centre, Home shows wholeBounds(), the wheel zooms about
    // the pointer; Esc abandons the tool in progress without calling its callback. While a
    // tool is in progress the view does not move.

    // Search (map_search.h, where the contracts are stated) ----------------------------------
    RecordCursor searchExpression(const VectorLayer& layer, const QString& expression,
                                  QString* error = nullptr) const;
    RecordCursor searchShape(const VectorLayer& layer, const Shape& shape, int relation,
                             const QString& expression, QString* error = nullptr) const;
    std::vector<bool> featuresInside(const VectorLayer& layer, const Shape& shape) const;

    // Painting and export (saveImage in map_picture.cpp) ----------------------------------------
    /// PaintShape: paints over the drawn map (or over the image being rendered, when called
    /// during a redraw); not kept by the next redraw.
    void paintShape(const Shape& shape, const Symbol& symbol);
    /// Paints the listed features of a dataset in one symbol as paintShape() would paint each
    /// one's shape, in one pass that skips the features outside the view.
    void paintFeatures(const Dataset& dataset, const QVector<int>& features, const Symbol& symbol);
    /// SaveImage: renders the current view into an image `scale` times the widget's size
    /// (every marker, line and label scaled alike, layer notifications emitted as for the
    /// screen) and writes it; format 1 is a Windows bitmap. The picture replaces an earlier file
    /// only once it is written whole. False with `error` (the reason) set on failure.
    bool saveImage(int format, const QString& path, double scale, QString* error = nullptr);
    /// The last rendered image (the back buffer), at the screen's resolution: its device pixel
    /// ratio gives the image pixels per widget pixel.
    const QImage& image() const { return buffer_; }

    // Marks (map_marks.cpp) -----------------------------------------------------------------
    /// Rings the features in the marks' colour over every layer and over what the layerDrawn
    /// slots paint; kept across redraws (and in saved images) until replaced. Redraws when the
    /// marks change.
    void setMarkedFeatures(const QVector<MarkedFeatures>& marks);
    /// Pans, keeping the scale, so that the point lies well inside the view: centred on it
    /// when it lies outside the view or near its edge; nothing when it lies well inside.
    void bringIntoView(QPointF mapPoint);
    /// Flashes a wide ring around the feature a few times over the shown map (not into the
    /// image); a later flash replaces it.
    void flashFeature(const DatasetPtr& dataset, int feature);

signals:
    void layerDrawStarting(int position);
    void layerDrawn(int position);
    void mapMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mapMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct RenderTarget;
    ViewTransform screenTransform() const;
    /// The back buffer is drawn at the screen's own resolution: this many image pixels per
    /// widget pixel, through the screen transform scaled by it.
    qreal bufferRatio() const;
    ViewTransform bufferTransform() const;
    /// Makes the painter's coordinates the image's own pixels, whatever its pixel ratio.
    static void drawInImagePixels(QPainter& painter, const QImage& image);
    /// The one drawing path for the screen, saved images and tests: fills `clip` (the whole
    /// image when empty) and draws every visible layer bottom to top with notifications.
    void render(QImage& image, const ViewTransform& transform, double scale, const QRect& clip);
    void scheduleRedraw();
    /// Runs `paint` with the renderer of the image being rendered during a redraw, or with one
    /// over the drawn map otherwise.
    void paintOnTop(const std::function<void(MapRenderer&)>& paint);
    void startTool(std::unique_ptr<MapTool> tool);
    void finishToolIfDone();
    void pressAt(QPointF position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, bool doubleClick);
    MapMarks& marks();
    /// Draws the rings of the marked features with a painter in image pixels.
    void drawMarks(QPainter& painter, const ViewTransform& transform, double scale);
    /// Draws the flashing ring, when lit, with a painter in widget pixels.
    void paintFlash(QPainter& painter);

    std::unique_ptr<DatasetCache> datasets_;
    std::unique_ptr<MarkerCache> markers_;
    std::vector<LayerPtr> layers_;
    Rect view_;      // as shown: the widget's aspect ratio
    Rect requested_; // as last asked for; fitted again when the widget is first sized
    QImage buffer_;
    std::unique_ptr<MapTool> tool_;
    bool buttonDown_ = false;
    QPointF pressPosition_;
    bool redrawPending_ = false;
    RenderTarget* target_ = nullptr; // the render in progress, if any
    std::unique_ptr<MapMarks> marks_;
};

} // namespace mapcontrol
