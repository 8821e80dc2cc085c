#pragma once

#include "mapcontrol/map_layers.h"
#include "mapcontrol/view_transform.h"

#include <QHash>
#include <QImage>
#include <QPainter>

#include <vector>

namespace mapcontrol {

/// Ready-drawn marker images, one per look (style, colours, outline, size in pixels), so that
/// drawing a point layer stamps an image per point instead of drawing a shape per point.
class MarkerCache {
public:
    /// The marker for `symbol` drawn `scale` times its size; its centre is the image's centre.
    const QImage& marker(const Symbol& symbol, double scale);

private:
    struct Key {
        int style;
        PackedColor color;
        bool outline;
        PackedColor outlineColor;
        int quarterPixels;
        bool operator==(const Key& o) const {
            return style == o.style && color == o.color && outline == o.outline &&
                   outlineColor == o.outlineColor && quarterPixels == o.quarterPixels;
        }
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.style, key.color, key.outline, key.outlineColor, key.quarterPixels);
    }
    QHash<Key, QImage> markers_;
};

/// Draws layers and painted shapes with one painter over one view. The same renderer draws
/// the screen's back buffer and exported images; `scale` multiplies every size in pixels
/// (markers, line widths, fonts) so that an image twice as large looks the same.
class MapRenderer {
public:
    MapRenderer(QPainter& painter, const ViewTransform& transform, double scale, MarkerCache& markers);

    void drawLayer(const Layer& layer);
    void paintShape(const Shape& shape, const Symbol& symbol);
    /// Paints the listed features of `dataset` in one symbol, in list order, each with the
    /// pixels paintShape() gives its shape; features wholly outside the view, features without
    /// geometry and indexes out of range paint nothing.
    void paintFeatures(const Dataset& dataset, const QVector<int>& features, const Symbol& symbol);

private:
    void drawVector(const VectorLayer& layer);
    void drawRaster(const RasterLayer& layer);
    /// The symbol of each feature: a value renderer's class symbol, or the layer's own.
    std::vector<const Symbol*> featureSymbols(const VectorLayer& layer) const;
    void drawPoints(const Dataset& dataset, const std::vector<const Symbol*>& symbols);
    /// Stamps the marker at each point of a point feature that lies inside `visible`.
    void stampFeature(const Dataset& dataset, int feature, const QImage& marker, const Rect& visible);
    /// Draws one line or polygon feature.
    void drawFeature(const Dataset& dataset, int feature, const Symbol& symbol);
    void drawLabels(const VectorLayer& layer, const TextRenderer& text);

    void stampMarker(QPointF pixel, const QImage& marker);
    void fillPath(const QPainterPath& path, const Symbol& symbol);
    void strokeLine(const QPolygonF& line, const Symbol& symbol);
    void writeLabel(QPointF anchor, const QString& text, const QFont& font);
    QPolygonF pixelPart(const Dataset& dataset, int part) const;
    /// The view grown by half a marker on each side, so that markers straddling the edge draw.
    Rect cullingRect(const Symbol& symbol) const;

    QPainter& painter_;
    ViewTransform transform_;
    double scale_;
    MarkerCache& markers_;
};

} // namespace mapcontrol
