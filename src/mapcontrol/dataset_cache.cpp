#include "mapcontrol/dataset_cache.h"

#include "tabledb/data_file_names.h"

#include <QDir>
#include <QFileInfo>

#include "tabledb/gdal_access.h"
#include "tabledb/shape_driver.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>

namespace mapcontrol {

namespace {

Dataset::GeometryKind kindOf(OGRwkbGeometryType type) {
    switch (wkbFlatten(type)) {
    case wkbPoint:
    case wkbMultiPoint:
        return Dataset::GeometryKind::Point;
    case wkbLineString:
    case wkbMultiLineString:
        return Dataset::GeometryKind::Line;
    case wkbPolygon:
    case wkbMultiPolygon:
        return Dataset::GeometryKind::Polygon;
    default:
        return Dataset::GeometryKind::Unknown;
    }
}

/// Appends the parts of one OGR geometry (points, line strings, polygon rings, and the
/// members of collections) to flat coordinate arrays. A vertex whose coordinates are not
/// finite numbers is left out of its part (and counted); a part left without vertices is
/// dropped.
class GeometryFlattener {
public:
    GeometryFlattener(std::vector<int>& partPoint, std::vector<double>& xs, std::vector<double>& ys)
        : partPoint_(partPoint), xs_(xs), ys_(ys) {}

    void append(const OGRGeometry* geometry) {
        if (geometry == nullptr || geometry->IsEmpty())
            return;
        const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
        if (type == wkbPoint) {
            const auto* point = geometry->toPoint();
            const size_t start = xs_.size();
            addPoint(point->getX(), point->getY());
            endPart(start);
        } else if (type == wkbLineString || type == wkbLinearRing) {
            appendCurve(geometry->toLineString());
        } else if (type == wkbPolygon) {
            for (const OGRLinearRing* ring : *geometry->toPolygon())
                appendCurve(ring);
        } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
            for (const OGRGeometry* member : *geometry->toGeometryCollection())
                append(member);
        }
    }

    int droppedVertices() const { return dropped_; }

private:
    void appendCurve(const OGRSimpleCurve* curve) {
        const size_t start = xs_.size();
        for (int i = 0; i < curve->getNumPoints(); ++i)
            addPoint(curve->getX(i), curve->getY(i));
        endPart(start);
    }
    void endPart(size_t start) {
        if (xs_.size() > start)
            partPoint_.push_back(int(start));
    }
    void addPoint(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) {
            ++dropped_;
            return;
        }
        xs_.push_back(x);
        ys_.push_back(y);
    }

    std::vector<int>& partPoint_;
    std::vector<double>& xs_;
    std::vector<double>& ys_;
    int dropped_ = 0;
};

Rect extentOf(const std::vector<double>& xs, const std::vector<double>& ys, int begin, int end) {
    Rect r{xs[size_t(begin)], ys[size_t(begin)], xs[size_t(begin)], ys[size_t(begin)]};
    for (int i = begin; i < end; ++i) {
        r.minX = std::min(r.minX, xs[size_t(i)]);
        r.maxX = std::max(r.maxX, xs[size_t(i)]);
        r.minY = std::min(r.minY, ys[size_t(i)]);
        r.maxY = std::max(r.maxY, ys[size_t(i)]);
    }
    return r;
}

// Unlike Rect::united, keeps degenerate rectangles: a single point still widens the extent.
Rect enclosing(const Rect& a, const Rect& b) {
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
            std::max(a.maxY, b.maxY)};
}

/// Shapes that GDAL failed to read, and its first complaint.
struct UnreadableShapes {
    int count;
    QString firstFailure;
};

/// What went wrong while the features were read, each as a sentence about the file.
QStringList readingProblems(const Dataset& dataset, OGRLayer& layer, const UnreadableShapes& unreadable,
                            int droppedVertices) {
    QStringList problems;
    if (unreadable.count > 0)
        problems << QStringLiteral("%1 of its shapes could not be read (%2); they are left off the map")
                        .arg(unreadable.count)
                        .arg(unreadable.firstFailure);
    // The shape file's own count; features are read only as far as the table has records.
    const GIntBig shapes = layer.GetFeatureCount(FALSE);
    if (shapes > dataset.featureCount())
        problems << QStringLiteral(
                        "only %1 of its %2 shapes have a record in its table; the others are left off "
                        "the map")
                        .arg(dataset.featureCount())
                        .arg(shapes);
    if (droppedVertices > 0)
        problems << QStringLiteral(
                        "vertices whose coordinates are not numbers are left out of their shapes (%1)")
                        .arg(droppedVertices);
    return problems;
}

} // namespace

bool DatasetCache::openFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return false;
    folder_ = info.absoluteFilePath();
    attributes_ = tabledb::Engine::instance().open(folder_);
    return true;
}

/// Reads every feature of the first layer of a vector file, in record order.
DatasetPtr DatasetCache::read(const QString& path, const QString& name, const tabledb::Database& attributes,
                              QString* problem) {
    const GDALDriver* shapes = tabledb::shapeDriver();
    QString failure;
    GDALDatasetUniquePtr source =
        tabledb::openWithDriver(path, shapes ? shapes->GetDescription() : "", GDAL_OF_VECTOR, &failure);
    if (!source || source->GetLayerCount() < 1) {
        *problem =
            QStringLiteral("not a readable shapefile") + (failure.isEmpty() ? QString() : ": " + failure);
        return nullptr;
    }
    OGRLayer* layer = source->GetLayer(0);
    tabledb::GdalFailureCapture readFailures;

    auto dataset = std::make_shared<Dataset>();
    dataset->name_ = name;
    dataset->path_ = path;
    dataset->kind_ = kindOf(layer->GetGeomType());
    dataset->attributes_ = attributes;
    GeometryFlattener flattener(dataset->partPoint_, dataset->xs_, dataset->ys_);
    bool anyExtent = false;
    int unreadableShapes = 0;
    int failuresSoFar = 0;
    layer->ResetReading();
    for (const auto& feature : *layer) {
        // A shape GDAL failed to read comes without geometry; the feature keeps its record.
        if (readFailures.count() > failuresSoFar)
            ++unreadableShapes;
        failuresSoFar = readFailures.count();
        const int firstPart = int(dataset->partPoint_.size());
        dataset->featurePart_.push_back(firstPart);
        flattener.append(feature->GetGeometryRef());
        Rect extent;
        if (int(dataset->partPoint_.size()) > firstPart) {
            extent = extentOf(dataset->xs_, dataset->ys_, dataset->partPoint_[size_t(firstPart)],
                              int(dataset->xs_.size()));
            dataset->extent_ = anyExtent ? enclosing(dataset->extent_, extent) : extent;
            anyExtent = true;
        }
        dataset->featureExtents_.push_back(extent);
    }
    dataset->featurePart_.push_back(int(dataset->partPoint_.size()));
    dataset->partPoint_.push_back(int(dataset->xs_.size()));
    dataset->problems_ = readingProblems(*dataset, *layer, {unreadableShapes, readFailures.message()},
                                         flattener.droppedVertices());
    return dataset;
}

QString DatasetCache::shapefilePath(const QString& name) const {
    return tabledb::matchDataFile(folder_, name + ".shp").path;
}

DatasetPtr DatasetCache::find(const QString& name, QString* problem) {
    QString unused;
    QString& reason = problem ? *problem : unused;
    const QString path = folder_.isEmpty() || name.isEmpty() ? QString() : shapefilePath(name);
    if (path.isEmpty()) {
        reason = QStringLiteral("missing");
        return nullptr;
    }
    const tabledb::FileStamp now = tabledb::FileStamp::of(path);
    Entry& entry = entries_[path];
    if (entry.file != now) {
        entry.file = now;
        entry.problem.clear();
        entry.dataset = read(path, name, attributes_, &entry.problem);
    }
    reason = entry.problem;
    return entry.dataset;
}

} // namespace mapcontrol
