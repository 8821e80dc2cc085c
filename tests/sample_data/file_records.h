#pragma once

// Records of a data-folder file read back through GDAL/OGR on their own, not through the
// program's database engine or map control.

#include <ogr_geometry.h>

#include <QMap>
#include <QPointF>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace datafiles {

/// One feature: its field values by lower-case name (int, double, QString or QDate; a null
/// QVariant for an unset field) and its geometry (null when it has none).
struct Record {
    QMap<QString, QVariant> values;
    std::shared_ptr<OGRGeometry> geometry;

    QVariant value(const QString& field) const { return values.value(field); }
    int gridCode() const { return value(QStringLiteral("grid_code")).toInt(); }
    bool hasPoint() const;
    QPointF point() const;
};
using Records = std::vector<Record>;

/// Every feature of the shapefile or dBASE table in record order; fails the running test when
/// the file cannot be read.
Records readRecords(const QString& path);

} // namespace datafiles
