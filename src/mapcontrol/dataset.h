#pragma once

#include "mapcontrol/map_types.h"
#include "tabledb/table_database.h"

#include <QString>
#include <QStringList>

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

} // namespace mapcontrol
