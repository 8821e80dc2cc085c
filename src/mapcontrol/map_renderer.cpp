#include "mapcontrol/map_renderer.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace mapcontrol {

namespace {

constexpr double kOutlineWidth = 1.0;
constexpr double kLabelGap = 3.0;
constexpr double kLabelHaloWidth = 3.0;
constexpr double kPixelsPerPoint = 96.0 / 72.0;

QPainterPath markerOutline(int style, QPointF c, double d) {
    QPainterPath path;
    const double r = d / 2;
    switch (style) {
    case Square:
        path.addRect(QRectF(c.x() - r, c.y() - r, d, d));
        break;
    case Triangle:
        path.addPolygon(QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}}));
        path.closeSubpath();
        break;
    case Cross:
        path.moveTo(c.x() - r, c.y());
        path.lineTo(c.x() + r, c.y());
        path.moveTo(c.x(), c.y() - r);
        path.lineTo(c.x(), c.y() + r);
        break;
    default:
        path.addEllipse(c, r, r);
        break;
    }
    return path;
}

QImage drawMarker(const Symbol& symbol, double diameter) {
    const int side = int(std::ceil(diameter)) + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(side / 2, side / 2);
    const QPainterPath path = markerOutline(symbol.style, centre, diameter);
    if (symbol.style == Cross) {
        painter.strokePath(
            path, QPen(toQColor(symbol.color), std::max(1.0, diameter / 4), Qt::SolidLine, Qt::FlatCap));
        return image;
    }
    painter.fillPath(path, toQColor(symbol.color));
    if (symbol.outline)
        painter.strokePath(path, QPen(toQColor(symbol.outlineColor), kOutlineWidth * diameter / symbol.size));
    return image;
}

} // namespace

const QImage& MarkerCache::marker(const Symbol& symbol, double scale) {
    const double diameter = std::max(1.0, symbol.size * scale);
    const Key key{symbol.style, symbol.color, symbol.outline, symbol.outlineColor,
                  int(std::lround(diameter * 4))};
    auto found = markers_.find(key);
    if (found == markers_.end())
        found = markers_.insert(key, drawMarker(symbol, diameter));
    return *found;
}

MapRenderer::MapRenderer(QPainter& painter, const ViewTransform& transform, double scale,
                         MarkerCache& markers)
    : painter_(painter), transform_(transform), scale_(scale), markers_(markers) {}

void MapRenderer::drawLayer(const Layer& layer) {
    if (const auto* vector = dynamic_cast<const VectorLayer*>(&layer))
        drawVector(*vector);
    else if (const auto* raster = dynamic_cast<const RasterLayer*>(&layer))
        drawRaster(*raster);
}

void MapRenderer::drawVector(const VectorLayer& layer) {
    const Dataset& dataset = *layer.dataset();
    const std::vector<const Symbol*> symbols = featureSymbols(layer);
    if (dataset.geometryKind() == Dataset::GeometryKind::Point) {
        drawPoints(dataset, symbols);
    } else {
        for (int feature = 0; feature < dataset.featureCount(); ++feature) {
            const Symbol& symbol = *symbols[size_t(feature)];
            if (dataset.hasGeometry(feature) &&
                dataset.featureExtent(feature).intersects(cullingRect(symbol)))
                drawFeature(dataset, feature, symbol);
        }
    }
    if (const auto* text = dynamic_cast<const TextRenderer*>(layer.renderer.get()))
        drawLabels(layer, *text);
}

void MapRenderer::drawPoints(const Dataset& dataset, const std::vector<const Symbol*>& symbols) {
    // Features mostly share one symbol: look the marker and its culling rectangle up only
    // when the symbol changes.
    const Symbol* current = nullptr;
    const QImage* marker = nullptr;
    Rect visible;
    for (int feature = 0; feature < dataset.featureCount(); ++feature) {
        if (symbols[size_t(feature)] != current) {
            current = symbols[size_t(feature)];
            marker = &markers_.marker(*current, scale_);
            visible = cullingRect(*current);
        }
        stampFeature(dataset, feature, *marker, visible);
    }
}

void MapRenderer::stampFeature(const Dataset& dataset, int feature, const QImage& marker,
                               const Rect& visible) {
    const int end = dataset.pointBegin(dataset.partBegin(feature + 1));
    for (int i = dataset.pointBegin(dataset.partBegin(feature)); i < end; ++i) {
        const QPointF point = dataset.point(i);
        if (visible.contains(point))
            stampMarker(transform_.toPixel(point), marker);
    }
}

std::vector<const Symbol*> MapRenderer::featureSymbols(const VectorLayer& layer) const {
    const Dataset& dataset = *layer.dataset();
    std::vector<const Symbol*> symbols(size_t(dataset.featureCount()), &layer.symbol);
    const auto* classes = dynamic_cast<const ValueRenderer*>(layer.renderer.get());
    if (classes == nullptr)
        return symbols;
    tabledb::RecordSet records = dataset.allRecords();
    const int column = records.columnIndex(classes->field);
    if (column < 0)
        return symbols;
    for (; !records.atEnd(); records.next()) {
        const int feature = records.rowNumber();
        if (feature < 0 || feature >= dataset.featureCount())
            continue;
        if (const Symbol* symbol = classes->symbolFor(fieldText(records.value(column))))
            symbols[size_t(feature)] = symbol;
    }
    return symbols;
}

void MapRenderer::drawFeature(const Dataset& dataset, int feature, const Symbol& symbol) {
    const int firstPart = dataset.partBegin(feature);
    const int endPart = dataset.partBegin(feature + 1);
    switch (dataset.geometryKind()) {
    case Dataset::GeometryKind::Line:
        for (int part = firstPart; part < endPart; ++part)
            strokeLine(pixelPart(dataset, part), symbol);
        break;
    case Dataset::GeometryKind::Polygon: {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (int part = firstPart; part < endPart; ++part) {
            path.addPolygon(pixelPart(dataset, part));
            path.closeSubpath();
        }
        fillPath(path, symbol);
        break;
    }
    case Dataset::GeometryKind::Point:
    case Dataset::GeometryKind::Unknown:
        break;
    }
}

void MapRenderer::drawLabels(const VectorLayer& layer, const TextRenderer& text) {
    const Dataset& dataset = *layer.dataset();
    tabledb::RecordSet records = dataset.allRecords();
    const int column = records.columnIndex(text.field);
    if (column < 0)
        return;
    const bool besideMarker = dataset.geometryKind() == Dataset::GeometryKind::Point;
    const double markerRadius = std::max(1.0, layer.symbol.size * scale_) / 2;
    const Rect visible = transform_.view();
    for (; !records.atEnd(); records.next()) {
        const int feature = records.rowNumber();
        if (feature < 0 || feature >= dataset.featureCount() || !dataset.hasGeometry(feature))
            continue;
        const Rect extent = dataset.featureExtent(feature);
        if (!extent.intersects(visible))
            continue;
        QPointF anchor = transform_.toPixel(
            besideMarker ? dataset.point(dataset.pointBegin(dataset.partBegin(feature))) : extent.center());
        if (besideMarker)
            anchor.rx() += markerRadius + kLabelGap * scale_;
        writeLabel(anchor, fieldText(records.value(column)), text.font);
    }
}

void MapRenderer::drawRaster(const RasterLayer& layer) {
    const RasterLayer::Tile tile = layer.read(transform_.view(), transform_.unitsPerPixel());
    if (tile.image.isNull())
        return;
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.drawImage(transform_.toPixel(tile.bounds), tile.image);
    painter_.restore();
}

void MapRenderer::paintShape(const Shape& shape, const Symbol& symbol) {
    if (shape.isNull())
        return;
    const int partCount = int(shape.partStarts.size());
    auto part = [&](int p) {
        const int end = p + 1 < partCount ? shape.partStarts[p + 1] : int(shape.points.size());
        QPolygonF pixels;
        for (int i = shape.partStarts[p]; i < end; ++i)
            pixels.append(transform_.toPixel(shape.points[i]));
        return pixels;
    };
    switch (shape.kind) {
    case Shape::Kind::Point: {
        const QImage& marker = markers_.marker(symbol, scale_);
        for (const QPointF& p : shape.points)
            stampMarker(transform_.toPixel(p), marker);
        break;
    }
    case Shape::Kind::Line:
        for (int p = 0; p < partCount; ++p)
            strokeLine(part(p), symbol);
        break;
    case Shape::Kind::Polygon: {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (int p = 0; p < partCount; ++p) {
            path.addPolygon(part(p));
            path.closeSubpath();
        }
        fillPath(path, symbol);
        break;
    }
    case Shape::Kind::None:
        break;
    }
}

void MapRenderer::paintFeatures(const Dataset& dataset, const QVector<int>& features, const Symbol& symbol) {
    // One marker and one culling rectangle for the whole list, and no shape built per feature:
    // a selection paints hundreds of thousands of features at every redraw.
    const Rect visible = cullingRect(symbol);
    const bool points = dataset.geometryKind() == Dataset::GeometryKind::Point;
    const QImage* marker = points ? &markers_.marker(symbol, scale_) : nullptr;
    for (int feature : features) {
        if (feature < 0 || feature >= dataset.featureCount())
            continue;
        if (points)
            stampFeature(dataset, feature, *marker, visible);
        else if (dataset.hasGeometry(feature) && dataset.featureExtent(feature).intersects(visible))
            drawFeature(dataset, feature, symbol);
    }
}

void MapRenderer::stampMarker(QPointF pixel, const QImage& marker) {
    const QPoint topLeft(int(std::lround(pixel.x())) - marker.width() / 2,
                         int(std::lround(pixel.y())) - marker.height() / 2);
    painter_.drawImage(topLeft, marker);
}

void MapRenderer::fillPath(const QPainterPath& path, const Symbol& symbol) {
    const QColor fill = toQColor(symbol.color);
    painter_.setBrush(fill);
    if (symbol.outline) {
        painter_.setPen(QPen(toQColor(symbol.outlineColor), kOutlineWidth * scale_));
    } else {
        // A one-pixel hairline of the fill colour closes the faint antialiasing seams that would
        // otherwise show between polygons sharing an edge. Cosmetic, so one pixel at any scale:
        // a wider pen would leave the painter's fast path for thin lines.
        QPen seam(fill, kOutlineWidth);
        seam.setCosmetic(true);
        painter_.setPen(seam);
    }
    painter_.drawPath(path);
}

void MapRenderer::strokeLine(const QPolygonF& line, const Symbol& symbol) {
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(toQColor(symbol.color), std::max(1.0, symbol.size) * scale_, Qt::SolidLine,
                         Qt::RoundCap, Qt::RoundJoin));
    painter_.drawPolyline(line);
}

void MapRenderer::writeLabel(QPointF anchor, const QString& text, const QFont& font) {
    if (text.isEmpty())
        return;
    QFont scaled = font;
    const double pixels = font.pointSizeF() > 0 ? font.pointSizeF() * kPixelsPerPoint : font.pixelSize();
    scaled.setPixelSize(std::max(1, int(std::lround(pixels * scale_))));
    const QFontMetricsF metrics(scaled);
    const double baseline = anchor.y() + (metrics.ascent() - metrics.descent()) / 2;
    QPainterPath path;
    path.addText(anchor.x(), baseline, scaled, text);
    painter_.strokePath(
        path, QPen(Qt::white, kLabelHaloWidth * scale_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.fillPath(path, Qt::black);
}

QPolygonF MapRenderer::pixelPart(const Dataset& dataset, int part) const {
    QPolygonF pixels;
    const int begin = dataset.pointBegin(part);
    const int end = dataset.pointBegin(part + 1);
    pixels.reserve(end - begin);
    for (int i = begin; i < end; ++i)
        pixels.append(transform_.toPixel(dataset.point(i)));
    return pixels;
}

Rect MapRenderer::cullingRect(const Symbol& symbol) const {
    const double margin = (std::max(1.0, symbol.size) * scale_ / 2 + 2) * transform_.unitsPerPixel();
    const Rect& view = transform_.view();
    return {view.minX - margin, view.minY - margin, view.maxX + margin, view.maxY + margin};
}

} // namespace mapcontrol
