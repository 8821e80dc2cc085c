#pragma once

#include <ogr_geometry.h>
#include <ogrsf_frmts.h>

#include <QString>
#include <QVariant>

#include <vector>

namespace quillfen::sample_data {

/// How one attribute is stored in the dBASE file.
struct FieldSpec {
    QString name;
    OGRFieldType type;
    int width;
    int precision;
};

/// Writes one shapefile (or, with wkbNone, one plain dBASE table) through OGR, in UTM zone 15
/// metres on NAD83. Values are given in field order: a null QVariant leaves the field empty,
/// otherwise int, double, QString or QDate as the field's type asks. The dBASE header carries a
/// fixed date so that the same data give the same bytes. Throws std::runtime_error on failure.
class ShapeWriter {
public:
    ShapeWriter(const QString& folder, const QString& name, OGRwkbGeometryType geometryType,
                const std::vector<FieldSpec>& fields);
    ~ShapeWriter();
    ShapeWriter(const ShapeWriter&) = delete;
    ShapeWriter& operator=(const ShapeWriter&) = delete;

    /// Appends a record; geometry may be null for a record without shape.
    void write(const OGRGeometry* geometry, const std::vector<QVariant>& values);

private:
    GDALDataset* dataset_ = nullptr;
    OGRLayer* layer_ = nullptr;
    std::vector<FieldSpec> fields_;
    QString name_;
};

} // namespace quillfen::sample_data
