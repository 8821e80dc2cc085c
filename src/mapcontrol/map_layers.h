#pragma once

#include "mapcontrol/map_types.h"
#include "tabledb/field_text.h"
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
    /// Flat geometry, for drawing and searching without building shapes: feature f owns
    /// parts [partBegin(f), partBegin(f + 1)), part p owns points [pointBegin(p),
    /// pointBegin(p + 1)). A feature without geometry owns no part.
    int partBegin(int feature) const { return featurePart_[size_t(feature)]; }
    int pointBegin(int part) const { return partPoint_[size_t(part)]; }
    QPointF point(int index) const { return {xs_[size_t(index)], ys_[size_t(index)]}; }
    bool hasGeometry(int feature) const { return partBegin(feature) != partBegin(feature + 1); }
    /// The feature's shape; a null Shape when the feature has no geometry.
    Shape shape(int feature) const;
    /// Faults of the files met while reading that left something off the map (shapes that could
    /// not be read, shapes without a record, vertices that are not numbers), each a sentence.
    const QStringList& problems() const { return problems_; }
    /// The database holding this dataset's attribute table (named name()).
    const tabledb::Database& attributes() const { return attributes_; }
    /// Every record of the attribute table in record order, selected once and then shared
    /// (an empty set with `error` set when the table cannot be read).
    tabledb::RecordSet allRecords(QString* error = nullptr) const;

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
    QStringList problems_;
    tabledb::Database attributes_;
    mutable tabledb::RecordSet allRecords_;
    mutable bool allRecordsLoaded_ = false;
};
using DatasetPtr = std::shared_ptr<const Dataset>;

using tabledb::fieldText;

/// Forward cursor over features of one dataset, with their attribute values. A cursor may
/// carry a filter (one flag per feature index) that hides the records it does not keep.
class RecordCursor {
public:
    RecordCursor() = default;
    RecordCursor(DatasetPtr dataset, tabledb::RecordSet records,
                 std::shared_ptr<const std::vector<bool>> keptFeatures = nullptr);

    void first();
    bool atEnd() const { return records_.atEnd(); }
    void next();
    int count() const { return count_; }
    /// The current feature's field value: text or number, a null QVariant for NULL, an
    /// invalid QVariant for an unknown field.
    QVariant fieldValue(const QString& name) const { return records_.value(name); }
    /// The current feature's "Shape" (null when it has none).
    Shape shape() const;
    int featureIndex() const { return records_.rowNumber(); }
    const tabledb::RecordSet& records() const { return records_; }

private:
    bool keeps(int feature) const;
    void skipHidden();

    DatasetPtr dataset_;
    tabledb::RecordSet records_;
    std::shared_ptr<const std::vector<bool>> kept_;
    int count_ = 0;
};

/// Base of the renderers a vector layer can carry instead of its single symbol.
class Renderer {
public:
    virtual ~Renderer() = default;
};

/// Colours features whose `field` text (see fieldText()) equals a class value with that
/// class's symbol. Features matching no class, and classes never given a value, fall back to
/// the layer's own symbol: such features are drawn exactly as without the renderer.
class ValueRenderer : public Renderer {
public:
    QString field;
    SymbolType symbolType = SymbolType::Fill;

    int valueCount() const { return int(classes_.size()); }
    /// Sets the number of classes; new classes have no value and a default symbol of
    /// `symbolType`.
    void setValueCount(int count);
    QString value(int index) const { return classes_.at(size_t(index)).value; }
    void setValue(int index, const QString& value);
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

/// Draws each feature with the layer's own symbol and writes the text of `field` beside it:
/// left-aligned just right of a point's marker (at the centre of a line or polygon),
/// vertically centred, dark text with a thin white halo so that it reads over any map.
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
