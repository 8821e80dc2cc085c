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

/// Finds `fileName` (a name with its extension, such as kxw93sm.shp, in any case) in `folder`.
/// The all-lower-case spelling wins; otherwise the first spelling in byte order of the names
/// present, so that the choice depends neither on how the caller spells the name nor on the
/// order a folder lists its entries. Every entry counts, whatever it is (a named pipe or a
/// folder too), so that one that is not a regular file is reported instead of passed over.
DataFileMatch matchDataFile(const QString& folder, const QString& fileName);

/// Why the entry at `path` cannot be a table or layer file: empty for a regular file or a
/// link to one; else a sentence naming it and what it is, such as "kxr93sm.dbf is a named
/// pipe, not a regular file". Reading such an entry could wait for ever or never end.
QString notARegularFile(const QString& path);

/// How GDAL is to open the file at `path`.
struct GdalOpening {
    /// The name to hand to GDAL; empty when `problem` is set.
    QString name;
    /// Set when the file, or a file GDAL may read along with it (its .shx, .dbf, .cpg, .prj,
    /// world file... in any spelling), is not a regular file (see notARegularFile).
    QString problem;
};

/// The name under which GDAL opens the file at `path` so that it reads exactly the files that
/// matchDataFile chooses: the file itself and its companions, whatever their spelling. GDAL
/// itself tries only the same base name with an all-lower or all-upper extension, the
/// lower-case one first; where that could find another file or none, the file is opened
/// through a virtual file system of ours that resolves every name as matchDataFile does. The
/// path itself is the name when GDAL finds the same files alone.
GdalOpening gdalOpening(const QString& path);

/// Installs that virtual file system in GDAL. GDAL's table of file systems takes no lock: this
/// runs once, at start-up, on the window's thread, before any loading thread opens a file.
void installCaseFreeFileSystem();

} // namespace tabledb
