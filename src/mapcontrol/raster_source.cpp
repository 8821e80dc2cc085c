#include "mapcontrol/map_layers.h"

#include <QFileInfo>

#include "tabledb/gdal_access.h"

#include <gdal_priv.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace mapcontrol {

namespace {
const char* const kGeoTiffDriver = "GTiff";
} // namespace

/// An open GDAL raster with a north-up geotransform: map x = originX + column * pixelWidth,
/// map y = originY - row * pixelHeight.
class RasterLayer::Source {
public:
    /// The raster at `path`, or nullptr with `problem` saying why it cannot be drawn.
    static std::shared_ptr<Source> open(const QString& path, QString* problem);

    Rect extent() const {
        return {originX_, originY_ - rows_ * pixelHeight_, originX_ + columns_ * pixelWidth_, originY_};
    }
    Tile read(const Rect& view, double pixelSize) const;

private:
    /// The raster's cells [column0, column1) x [row0, row1) covering a map rectangle.
    struct Window {
        int column0, row0, column1, row1;
        int width() const { return column1 - column0; }
        int height() const { return row1 - row0; }
    };
    Window windowOver(const Rect& view) const;
    QImage readWindow(const Window& window, QSize buffer) const;
    std::vector<QRgb> paletteColors() const;

    GDALDatasetUniquePtr dataset_;
    double originX_ = 0, originY_ = 0, pixelWidth_ = 1, pixelHeight_ = 1;
    int columns_ = 0, rows_ = 0;
};

std::shared_ptr<RasterLayer::Source> RasterLayer::Source::open(const QString& path, QString* problem) {
    if (!QFileInfo::exists(path)) {
        *problem = QStringLiteral("missing");
        return nullptr;
    }
    QString failure;
    GDALDatasetUniquePtr dataset = tabledb::openWithDriver(path, kGeoTiffDriver, GDAL_OF_RASTER, &failure);
    if (!dataset || dataset->GetRasterCount() < 1) {
        *problem =
            QStringLiteral("not a readable GeoTIFF image") + (failure.isEmpty() ? QString() : ": " + failure);
        return nullptr;
    }
    std::array<double, 6> geo{};
    const bool georeferenced = dataset->GetGeoTransform(geo.data()) == CE_None;
    const bool finite = std::all_of(geo.begin(), geo.end(), [](double v) { return std::isfinite(v); });
    if (!georeferenced || !finite || geo[2] != 0 || geo[4] != 0 || !(geo[1] > 0) || !(geo[5] < 0)) {
        *problem = QStringLiteral("its georeferencing is missing or not a north-up grid of finite numbers");
        return nullptr;
    }
    auto source = std::make_shared<Source>();
    source->originX_ = geo[0];
    source->pixelWidth_ = geo[1];
    source->originY_ = geo[3];
    source->pixelHeight_ = -geo[5];
    source->columns_ = dataset->GetRasterXSize();
    source->rows_ = dataset->GetRasterYSize();
    source->dataset_ = std::move(dataset);
    return source;
}

namespace {
/// A cell position in [0, cells], clamped while still a double: a view far outside the
/// raster gives positions beyond any int. Not-a-number counts as the start.
int clampedCell(double position, int cells) {
    if (!(position > 0))
        return 0;
    return position < cells ? int(position) : cells;
}
} // namespace

RasterLayer::Source::Window RasterLayer::Source::windowOver(const Rect& view) const {
    Window w;
    w.column0 = clampedCell(std::floor((view.minX - originX_) / pixelWidth_), columns_);
    w.column1 = clampedCell(std::ceil((view.maxX - originX_) / pixelWidth_), columns_);
    w.row0 = clampedCell(std::floor((originY_ - view.maxY) / pixelHeight_), rows_);
    w.row1 = clampedCell(std::ceil((originY_ - view.minY) / pixelHeight_), rows_);
    return w;
}

std::vector<QRgb> RasterLayer::Source::paletteColors() const {
    std::vector<QRgb> colors(256);
    const GDALColorTable* table = dataset_->GetRasterBand(1)->GetColorTable();
    for (int i = 0; i < 256; ++i) {
        const GDALColorEntry* entry =
            table && i < table->GetColorEntryCount() ? table->GetColorEntry(i) : nullptr;
        colors[size_t(i)] =
            entry ? qPremultiply(qRgba(entry->c1, entry->c2, entry->c3, entry->c4)) : qRgb(i, i, i);
    }
    return colors;
}

QImage RasterLayer::Source::readWindow(const Window& window, QSize buffer) const {
    const int pixelCount = buffer.width() * buffer.height();
    const bool rgb = dataset_->GetRasterCount() >= 3;
    const int bandCount = rgb ? 3 : 1;
    std::vector<GByte> bytes(size_t(pixelCount) * size_t(bandCount));
    std::array<int, 3> bands{1, 2, 3};
    GDALRasterIOExtraArg extra;
    INIT_RASTERIO_EXTRA_ARG(extra);
    extra.eResampleAlg = GRIORA_NearestNeighbour;
    // Band-sequential bytes; GDAL picks an overview when one suits the smaller buffer.
    const CPLErr status = dataset_->RasterIO(GF_Read, window.column0, window.row0, window.width(),
                                             window.height(), bytes.data(), buffer.width(), buffer.height(),
                                             GDT_Byte, bandCount, bands.data(), 0, 0, 0, &extra);
    if (status != CE_None)
        return {};
    QImage image(buffer, QImage::Format_ARGB32_Premultiplied);
    const std::vector<QRgb> palette = rgb ? std::vector<QRgb>() : paletteColors();
    for (int y = 0; y < buffer.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < buffer.width(); ++x) {
            const size_t i = size_t(y) * size_t(buffer.width()) + size_t(x);
            line[x] = rgb ? qRgb(bytes[i], bytes[i + size_t(pixelCount)], bytes[i + 2 * size_t(pixelCount)])
                          : palette[bytes[i]];
        }
    }
    return image;
}

RasterLayer::Tile RasterLayer::Source::read(const Rect& view, double pixelSize) const {
    const Window window = windowOver(view);
    if (window.width() <= 0 || window.height() <= 0 || !(pixelSize > 0))
        return {};
    // Never read more cells than the screen shows, nor more than the file holds.
    const double cellsPerPixel = std::max(1.0, pixelSize / std::min(pixelWidth_, pixelHeight_));
    const QSize buffer(std::max(1, int(std::ceil(window.width() / cellsPerPixel))),
                       std::max(1, int(std::ceil(window.height() / cellsPerPixel))));
    Tile tile;
    tile.image = readWindow(window, buffer);
    tile.bounds = {originX_ + window.column0 * pixelWidth_, originY_ - window.row1 * pixelHeight_,
                   originX_ + window.column1 * pixelWidth_, originY_ - window.row0 * pixelHeight_};
    return tile;
}

RasterLayer::RasterLayer() = default;
RasterLayer::~RasterLayer() = default;

bool RasterLayer::setFile(const QString& path, QString* problem) {
    file_ = path;
    name_ = QFileInfo(path).completeBaseName();
    QString reason;
    source_ = Source::open(path, &reason);
    if (problem)
        *problem = reason;
    return source_ != nullptr;
}

Rect RasterLayer::extent() const {
    return source_ ? source_->extent() : Rect{};
}

bool RasterLayer::isValid() const {
    return source_ != nullptr;
}

RasterLayer::Tile RasterLayer::read(const Rect& view, double pixelSize) const {
    return source_ ? source_->read(view, pixelSize) : Tile{};
}

} // namespace mapcontrol
