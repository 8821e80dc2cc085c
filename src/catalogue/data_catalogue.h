#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace quillfen {

/// The names of the base layers' datasets (file names without their extension, but for the
/// raster), of the fields the program reads from them, and of the site code that links fish
/// and vegetation sites to their companion tables.
inline const QString kOutlineLayer = QStringLiteral("kx_out");
inline const QString kLandCoverLayer = QStringLiteral("kxlw");
inline const QString kStructuresLayer = QStringLiteral("kxstruc");
inline const QString kRiverMilesLayer = QStringLiteral("kxmiles");
inline const QString kQuadrangleLayer = QStringLiteral("kx_drg");
inline const QString kQuadrangleRaster = kQuadrangleLayer + QStringLiteral(".tif");
inline const QString kLandCoverField = QStringLiteral("lw");
inline const QString kLandClassField = QStringLiteral("class");
inline const QString kRiverMileField = QStringLiteral("mile");
inline const QString kSiteCodeField = QStringLiteral("grid_code");

/// What a file of the data folder holds.
enum class DataFileKind { PointLayer, LineLayer, PolygonLayer, Raster, Table };

/// One file that the program reads from the data folder.
struct DataFile {
    QString fileName; ///< with its extension: kx_out.shp, kx_drg.tif, kxr93sm.dbf
    DataFileKind kind;
    QStringList fields; ///< the attribute fields the program reads from it
    bool used;          ///< false for the periods whose boxes are disabled: never read
};

/// Every file the program can read from a data folder: the base layers, the quadrangle
/// raster, the sample layers of each kind in period order, then the fish and vegetation
/// companion tables. Fields are those of the sample schemas (plus the site code that links a
/// fish or vegetation layer to its table) and those the base-layer renderers read.
const QVector<DataFile>& dataFolderCatalogue();

/// "point layer", "line layer", "polygon layer", "raster image", "table".
QString dataFileKindName(DataFileKind kind);

} // namespace quillfen
