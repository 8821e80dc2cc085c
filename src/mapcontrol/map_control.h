#pragma once

#include "mapcontrol/map_layers.h"
#include "mapcontrol/map_types.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace mapcontrol {

class DatasetCache;
class MapTool;

/// The map: a stack of layers drawn into a back buffer over a view rectangle in map units.
///
/// Drawing is synchronous: setting the view, redrawAll() and redrawArea() render before they
/// return, bottom layer first, emitting layerDrawStarting(i) and layerDrawn(i) around each
/// layer (i is the layer's position in the stack). A slot connected to layerDrawn may call
/// paintShape(), which paints onto the image being rendered, on top of everything drawn so
/// far. paintEvent only copies the finished image to the screen.
class MapControl : public QWidget {
    Q_OBJECT
public:
    explicit MapControl(QWidget* parent = nullptr);
    ~MapControl() override;

    // Data connection -----------------------------------------------------------------
    /// OpenFolder: true when the folder exists and can be read; may be called again.
    bool openFolder(const QString& folder);
    /// FindDataset: the dataset of the open folder with that file name (no extension), read
    /// once and cached; nullptr when missing or unreadable.
    DatasetPtr findDataset(const QString& name);

    // Layer stack (position 0 is the top) -------------------------------------------------
    int layerCount() const { return int(layers_.size()); }
    /// AddLayer: puts the layer at position 0, drawn above all others. The first layer added
    /// to an empty map sets the view to its extent.
    void addLayer(LayerPtr layer);
    /// RemoveLayer: removes the layer at a position (ignored when out of range).
    void removeLayer(int position);
    LayerPtr layer(int position) const;
    /// LayerNamed: the first layer in position order with that name, or nullptr.
    LayerPtr layerNamed(const QString& name) const;

    // View ---------------------------------------------------------------------------------
    Rect viewBounds() const { return view_; }
    /// Sets the view (widened in one direction to the widget's aspect ratio) and redraws.
    void setViewBounds(const Rect& bounds);
    /// The rectangle covering every layer.
    Rect wholeBounds() const;
    void redrawArea(const Rect& area);
    void redrawAll();
    QPointF screenToMap(QPointF widgetPoint) const;
    QPointF mapToScreen(QPointF mapPoint) const;

    // Mouse tools: each starts at the current mouse-down and hands its result to `done` when
    // it ends (release for rectangle and pan, double-click for polygon). ------------------------
    void dragRectangle(std::function<void(const Rect&)> done);
    void dragPolygon(std::function<void(const Shape&)> done);
    void dragPan();

    // Search -------------------------------------------------------------------------------
    /// SearchExpression: the features of the layer whose attributes satisfy `expression`.
    /// On an expression the database engine rejects, an empty cursor and `error` set.
    RecordCursor searchExpression(const VectorLayer& layer, const QString& expression,
                                  QString* error = nullptr) const;
    /// SearchShape: relation 9 with an empty expression gives the features inside `shape`
    /// (extent test first, then an exact point-in-polygon test).
    RecordCursor searchShape(const VectorLayer& layer, const Shape& shape, int relation,
                             const QString& expression, QString* error = nullptr) const;

    // Painting and export -----------------------------------------------------------------
    /// PaintShape: paints over the drawn map (or over the image being rendered, when called
    /// during a redraw); not kept by the next redraw.
    void paintShape(const Shape& shape, const Symbol& symbol);
    /// SaveImage: renders the current view into an image `scale` times the widget's size
    /// and writes it; format 1 is a Windows bitmap. False with `error` set on failure.
    bool saveImage(int format, const QString& path, double scale, QString* error = nullptr);
    /// The last rendered image (the back buffer).
    const QImage& image() const { return buffer_; }

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

private:
    std::unique_ptr<DatasetCache> datasets_;
    std::vector<LayerPtr> layers_;
    Rect view_;
    QImage buffer_;
    std::unique_ptr<MapTool> tool_;
    // Private render state (transform, painter of the image being rendered) is the
    // implementation's.
    struct RenderTarget;
    RenderTarget* target_ = nullptr;
};

}  // namespace mapcontrol
