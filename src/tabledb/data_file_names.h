#pragma once

#include <QString>
#include <QStringList>

namespace tabledb {

/// A file of a data folder found by its name without regard to case: data folders made on
/// other systems spell the same file KXW93SM.SHP, Kxw93sm.shp or kxw93sm.shp.
struct DataFileMatch {
    QString path;               ///< the file used; empty when no spelling is present
    QStringList otherSpellings; ///< file names of the same file in other spellings, left unused

    bool found() const { return !path.isEmpty(); }
    /// The file name used (without its folder).
    QString fileName() const;
};

/// Finds `fileName` (a name with its extension, such as kxw93sm.shp) in `folder`. The exact
/// spelling wins; otherwise the first spelling in byte order of the names present, so that the
/// choice never depends on the order a folder lists its files.
DataFileMatch matchDataFile(const QString& folder, const QString& fileName);

/// The name under which GDAL is to open the file at `path` so that it also finds the file's
/// companions (.shx, .dbf, .cpg, .prj, world files) whatever their spelling. GDAL itself tries
/// only the same base name with an all-lower or all-upper extension; where a companion is
/// spelled otherwise, the file is opened through a virtual file system of ours that matches
/// names without regard to case. `path` itself is returned when GDAL finds everything alone.
QString gdalOpenName(const QString& path);

} // namespace tabledb
