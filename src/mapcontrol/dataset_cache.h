#pragma once

#include "mapcontrol/map_layers.h"
#include "tabledb/file_stamp.h"

#include <QHash>
#include <QString>

namespace mapcontrol {

/// The datasets of the open folder: each shapefile NAME.shp is read through OGR the first
/// time it is asked for and kept while its file keeps its size and modification time, so
/// that rebuilding layers never reads a file again.
class DatasetCache {
public:
    /// Opens `folder` (and its attribute store); false when it is not a readable folder.
    bool openFolder(const QString& folder);
    QString folder() const { return folder_; }
    /// The dataset NAME (file name without extension, matched case-insensitively when the
    /// exact name is absent), or nullptr when it is missing or cannot be read; then `problem`
    /// says why ("missing", "not a readable shapefile: ...").
    DatasetPtr find(const QString& name, QString* problem = nullptr);

private:
    struct Entry {
        tabledb::FileStamp file;
        DatasetPtr dataset; // null for a file that could not be read
        QString problem;    // why it could not be read
    };
    QString shapefilePath(const QString& name) const;
    /// Reads every feature of the first layer of a vector file, in record order.
    static DatasetPtr read(const QString& path, const QString& name, const tabledb::Database& attributes,
                           QString* problem);

    QString folder_;
    tabledb::Database attributes_;
    QHash<QString, Entry> entries_; // by absolute path
};

} // namespace mapcontrol
