#include "mapcontrol/dataset_cache.h"

#include <QDir>
#include <QFileInfo>

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>

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
/// members of collections) to flat coordinate arrays.
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
            startPart();
            addPoint(point->getX(), point->getY());
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

private:
    void appendCurve(const OGRSimpleCurve* curve) {
        if (curve->getNumPoints() == 0)
            return;
        startPart();
        for (int i = 0; i < curve->getNumPoints(); ++i)
            addPoint(curve->getX(i), curve->getY(i));
    }
    void startPart() { partPoint_.push_back(int(xs_.size())); }
    void addPoint(double x, double y) {
        xs_.push_back(x);
        ys_.push_back(y);
    }

    std::vector<int>& partPoint_;
    std::vector<double>& xs_;
    std::vector<double>& ys_;
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
DatasetPtr DatasetCache::read(const QString& path, const QString& name, const tabledb::Database& attributes) {
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetUniquePtr source(
        GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    CPLPopErrorHandler();
    if (!source || source->GetLayerCount() < 1)
        return nullptr;
    OGRLayer* layer = source->GetLayer(0);

    auto dataset = std::make_shared<Dataset>();
    dataset->name_ = name;
    dataset->path_ = path;
    dataset->kind_ = kindOf(layer->GetGeomType());
    dataset->attributes_ = attributes;
    GeometryFlattener flattener(dataset->partPoint_, dataset->xs_, dataset->ys_);
    bool anyExtent = false;
    layer->ResetReading();
    for (const auto& feature : *layer) {
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
    return dataset;
}

QString DatasetCache::shapefilePath(const QString& name) const {
    const QDir dir(folder_);
    const QString exact = dir.filePath(name + ".shp");
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList candidates = dir.entryList({"*.shp", "*.SHP"}, QDir::Files);
    for (const QString& file : candidates) {
        if (QFileInfo(file).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    }
    return {};
}

DatasetPtr DatasetCache::find(const QString& name) {
    if (folder_.isEmpty() || name.isEmpty())
        return nullptr;
    const QString path = shapefilePath(name);
    if (path.isEmpty())
        return nullptr;
    const QFileInfo info(path);
    Entry& entry = entries_[path];
    if (entry.size == info.size() && entry.modified == info.lastModified())
        return entry.dataset;
    entry.size = info.size();
    entry.modified = info.lastModified();
    entry.dataset = read(path, info.completeBaseName(), attributes_);
    return entry.dataset;
}

} // namespace mapcontrol
