#pragma once

// The search of a vector layer's features: by their attributes, which the database engine's
// store evaluates, and by a polygon. The map control offers it under its own names
// (MapControl::searchExpression and the others call these).

#include "mapcontrol/map_layers.h"
#include "mapcontrol/map_types.h"

#include <QString>

#include <vector>

namespace mapcontrol {

/// The relation code of searchShape() that keeps the features inside the shape.
constexpr int kInsideRelation = 9;

/// SearchExpression: the features of the layer whose attributes satisfy `expression`.
/// On an expression the database engine rejects, an empty cursor and `error` set.
RecordCursor searchExpression(const VectorLayer& layer, const QString& expression, QString* error = nullptr);

/// SearchShape: relation 9 gives the features inside `shape` (extent test first, then an
/// exact even-odd point-in-polygon test of every vertex of the feature); a non-empty
/// expression further keeps only the features that satisfy it. A null or non-polygon
/// shape has nothing inside. Other relations: an empty cursor and `error` set.
RecordCursor searchShape(const VectorLayer& layer, const Shape& shape, int relation,
                         const QString& expression, QString* error = nullptr);

/// The test of searchShape() with relation 9, as one flag per feature index of the layer.
std::vector<bool> featuresInside(const VectorLayer& layer, const Shape& shape);

} // namespace mapcontrol
