#include "tabledb/file_stamp.h"

#include <QFileInfo>

namespace tabledb {

FileStamp FileStamp::of(const QString& path) {
    const QFileInfo file(path);
    return file.exists() ? FileStamp{path, file.size(), file.lastModified()} : FileStamp{path, -1, {}};
}

} // namespace tabledb
