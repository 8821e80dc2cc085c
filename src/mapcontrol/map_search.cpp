#include "mapcontrol/map_search.h"

#include <QCoreApplication>

#include <memory>

namespace mapcontrol {

RecordCursor searchExpression(const VectorLayer& layer, const QString& expression, QString* error) {
    const DatasetPtr& dataset = layer.dataset();
    const tabledb::SelectResult result = dataset->attributes().selectRecords(dataset->name(), expression);
    if (!result.ok()) {
        if (error)
            *error = result.error;
        return RecordCursor(dataset, tabledb::RecordSet());
    }
    return RecordCursor(dataset, result.records);
}

namespace {
bool featureInside(const Dataset& dataset, int feature, const Shape& polygon, const Rect& polygonExtent) {
    if (!dataset.hasGeometry(feature) || !polygonExtent.intersects(dataset.featureExtent(feature)))
        return false;
    const int begin = dataset.pointBegin(dataset.partBegin(feature));
    const int end = dataset.pointBegin(dataset.partBegin(feature + 1));
    for (int i = begin; i < end; ++i) {
        if (!polygon.containsPoint(dataset.point(i)))
            return false;
    }
    return true;
}
} // namespace

RecordCursor searchShape(const VectorLayer& layer, const Shape& shape, int relation,
                         const QString& expression, QString* error) {
    const DatasetPtr& dataset = layer.dataset();
    if (relation != kInsideRelation) {
        if (error)
            *error = QCoreApplication::translate("mapcontrol",
                                                 "Spatial relation %1 is not supported; only 9 (inside) is.")
                         .arg(relation);
        return RecordCursor(dataset, tabledb::RecordSet());
    }
    auto inside = std::make_shared<std::vector<bool>>(featuresInside(layer, shape));
    RecordCursor matching = expression.isEmpty() ? RecordCursor(dataset, dataset->allRecords(error))
                                                 : searchExpression(layer, expression, error);
    return RecordCursor(dataset, matching.records(), std::move(inside));
}

std::vector<bool> featuresInside(const VectorLayer& layer, const Shape& shape) {
    const Dataset& dataset = *layer.dataset();
    std::vector<bool> inside(size_t(dataset.featureCount()), false);
    const Rect polygonExtent = shape.extent();
    for (int feature = 0; feature < dataset.featureCount(); ++feature)
        inside[size_t(feature)] = featureInside(dataset, feature, shape, polygonExtent);
    return inside;
}

} // namespace mapcontrol
