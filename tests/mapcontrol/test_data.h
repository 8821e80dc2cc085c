#pragma once

#include <QColor>
#include <QPointF>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

/// Small datasets written with GDAL for the map control's tests.
namespace testdata {

/// One attribute column: name and the value of each feature (all ints, all doubles or all
/// texts; the column type follows the first value).
struct Column {
    QString name;
    QVector<QVariant> values;
};

/// Writes FOLDER/NAME.shp (+ .shx, .dbf) with one feature per shape, given as well-known text
/// ("POINT (1 2)", "POLYGON ((...))"); an empty text leaves the feature without a shape.
void writeShapes(const QString& folder, const QString& name, const QStringList& shapes,
                 const std::vector<Column>& columns = {});
/// Writes a palette GeoTIFF of `cells` (row-major, top row first, palette indexes) whose top-left
/// corner is at `origin` with square cells of `cellSize` map units.
void writePaletteRaster(const QString& path, int columns, int rows, const QVector<int>& cells,
                        const QVector<QColor>& palette, QPointF origin, double cellSize);

} // namespace testdata
