#pragma once

#include "mapcontrol/map_types.h"
#include "tabledb/table_database.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace mapcontrol {

/// A vector dataset of the open folder, read from disk once and shared by every layer made
/// from it. Geometry is kept in flat arrays with an extent per feature; the attributes are
/// the table of the same name in the database engine's store for the folder.
class Dataset {
public:
    enum class GeometryKind { Point, Line, Polygon, Unknown };

    QString name() const { return name_; }
    QString path() const { return path_; }
    GeometryKind geometryKind() const { return kind_; }
    int featureCount() const { return int(featureExtents_.size()); }
    Rect extent() const { return extent_; }
    Rect featureExtent(int feature) const { return featureExtents_[size_t(feature)]; }
    /// The feature's shape; a null Shape when the feature has no geometry.
    Shape shape(int feature) const;
    /// The database holding this dataset's attribute table (named name()).
    const tabledb::Database& attributes() const { return attributes_; }

private:
    friend class DatasetCache;
    QString name_;
    QString path_;
    GeometryKind kind_ = GeometryKind::Unknown;
    Rect extent_;
    std::vector<Rect> featureExtents_;
    // Flat geometry: feature f owns parts [featurePart_[f], featurePart_[f+1]); part p owns
    // points [partPoint_[p], partPoint_[p+1]) of xs_/ys_.
    std::vector<int> featurePart_;
    std::vector<int> partPoint_;
    std::vector<double> xs_, ys_;
    tabledb::Database attributes_;
};
using DatasetPtr = std::shared_ptr<const Dataset>;

/// Forward cursor over features of one dataset, with their attribute values.
class RecordCursor {
public:
    RecordCursor() = default;
    RecordCursor(DatasetPtr dataset, tabledb::RecordSet records)
        : dataset_(std::move(dataset)), records_(std::move(records)) {}

    void first() { records_.moveFirst(); }
    bool atEnd() const { return records_.atEnd(); }
    void next() { records_.next(); }
    int count() const { return records_.recordCount(); }
    /// The current feature's field value: text or number, a null QVariant for NULL, an
    /// invalid QVariant for an unknown field.
    QVariant fieldValue(const QString& name) const { return records_.value(name); }
    /// The current feature's "Shape" (null when it has none).
    Shape shape() const;
    int featureIndex() const { return records_.rowNumber(); }
    const tabledb::RecordSet& records() const { return records_; }

private:
    DatasetPtr dataset_;
    tabledb::RecordSet records_;
};

/// Base of the renderers a vector layer can carry instead of its single symbol.
class Renderer {
public:
    virtual ~Renderer() = default;
};

/// Colours features whose `field` text equals a class value with that class's symbol.
/// Features matching no class are drawn with the layer's own symbol.
class ValueRenderer : public Renderer {
public:
    QString field;
    SymbolType symbolType = SymbolType::Fill;

    int valueCount() const { return int(classes_.size()); }
    /// Sets the number of classes; new classes have no value and a default symbol.
    void setValueCount(int count);
    QString value(int index) const { return classes_.at(size_t(index)).value; }
    void setValue(int index, const QString& value) { classes_.at(size_t(index)).value = value; }
    Symbol& symbol(int index) { return classes_.at(size_t(index)).symbol; }
    const Symbol& symbol(int index) const { return classes_.at(size_t(index)).symbol; }
    /// The class symbol for a field text, or nullptr when no class has that value.
    const Symbol* symbolFor(const QString& text) const;

private:
    struct Class {
        QString value;
        bool hasValue = false;
        Symbol symbol;
    };
    std::vector<Class> classes_;
};

/// Writes the text of `field` at each feature, beside its marker.
class TextRenderer : public Renderer {
public:
    QString field;
    QFont font;
};

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
    /// A layer named after the dataset, with a single symbol suited to its geometry.
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
    /// Opens the image through GDAL; false (and the layer draws nothing) when it cannot be read.
    bool setFile(const QString& path);
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

}  // namespace mapcontrol
