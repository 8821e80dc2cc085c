#include "mapcontrol/map_layers.h"

#include <QFileInfo>

#include <cpl_error.h>
#include <gdal_priv.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace mapcontrol {

/// An open GDAL raster with a north-up geotransform: map x = originX + column * pixelWidth,
/// map y = originY - row * pixelHeight.
class RasterLayer::Source {
public:
    static std::shared_ptr<Source> open(const QString& path);

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

std::shared_ptr<RasterLayer::Source> RasterLayer::Source::open(const QString& path) {
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetUniquePtr dataset(
        GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    CPLPopErrorHandler();
    if (!dataset || dataset->GetRasterCount() < 1)
        return nullptr;
    std::array<double, 6> geo{};
    if (dataset->GetGeoTransform(geo.data()) != CE_None || geo[2] != 0 || geo[4] != 0 || geo[1] <= 0 ||
        geo[5] >= 0)
        return nullptr;
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

RasterLayer::Source::Window RasterLayer::Source::windowOver(const Rect& view) const {
    Window w;
    w.column0 = std::clamp(int(std::floor((view.minX - originX_) / pixelWidth_)), 0, columns_);
    w.column1 = std::clamp(int(std::ceil((view.maxX - originX_) / pixelWidth_)), 0, columns_);
    w.row0 = std::clamp(int(std::floor((originY_ - view.maxY) / pixelHeight_)), 0, rows_);
    w.row1 = std::clamp(int(std::ceil((originY_ - view.minY) / pixelHeight_)), 0, rows_);
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

bool RasterLayer::setFile(const QString& path) {
    file_ = path;
    name_ = QFileInfo(path).completeBaseName();
    source_ = Source::open(path);
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
