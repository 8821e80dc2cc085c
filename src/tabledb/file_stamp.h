#pragma once

#include <QDateTime>
#include <QString>

namespace tabledb {

/// A file as the program found it when it read it: its path, size and modification time. Whether
/// a file changed since is told by taking its stamp again: a file of the same size and
/// modification time is taken to be as it was.
struct FileStamp {
    QString path;
    qint64 size = -1; ///< -1 when the file does not exist
    QDateTime modified;

    /// The file at `path` as it is now.
    static FileStamp of(const QString& path);
    /// Whether the file is still as this stamp found it.
    bool isCurrent() const { return of(path) == *this; }

    bool operator==(const FileStamp& other) const {
        return path == other.path && size == other.size && modified == other.modified;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

} // namespace tabledb
