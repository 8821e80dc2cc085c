#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace quillfen {

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
