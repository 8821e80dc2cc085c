#pragma once

// The layers of the map's stack: vector layers over the datasets, and raster layers. A vector
// layer draws with its symbol or the renderer it carries, and lists its records by a cursor.

#include "mapcontrol/dataset.h"
#include "mapcontrol/map_types.h"
#include "mapcontrol/record_cursor.h"
#include "mapcontrol/renderers.h"

#include <QImage>
#include <QString>

#include <memory>

namespace mapcontrol {

class Layer {
public:
    virtual ~Layer() = default;
    QString name() const { return name_; }
    bool visible = true;
    virtual Rect extent() const = 0;

protected:
    QString name_;
};
using LayerPtr = std::shared_ptr<Layer>;

class VectorLayer : public Layer {
public:
    /// A layer named after the dataset, with a single symbol suited to its geometry: a black
    /// circle of the default size for points, a solid black line one pixel wide for lines, a
    /// light grey fill with a black outline for polygons.
    explicit VectorLayer(DatasetPtr dataset);
    Rect extent() const override { return dataset_->extent(); }
    const DatasetPtr& dataset() const { return dataset_; }

    Symbol symbol;
    std::shared_ptr<Renderer> renderer;

    /// Every feature of the layer, in record order.
    RecordCursor records() const;

private:
    DatasetPtr dataset_;
};

class RasterLayer : public Layer {
public:
    RasterLayer();
    ~RasterLayer() override;
    /// Opens the image, a GeoTIFF, through GDAL; false (and the layer draws nothing) when it
    /// is missing or cannot be read, with `problem` saying why.
    bool setFile(const QString& path, QString* problem = nullptr);
    QString file() const { return file_; }
    Rect extent() const override;
    bool isValid() const;

    /// The raster's pixels covering `view` at about `pixelSize` map units per pixel, and the
    /// map rectangle they cover. Reads only what the view needs.
    struct Tile {
        QImage image;
        Rect bounds;
    };
    Tile read(const Rect& view, double pixelSize) const;

private:
    class Source;
    QString file_;
    std::shared_ptr<Source> source_;
};

} // namespace mapcontrol
