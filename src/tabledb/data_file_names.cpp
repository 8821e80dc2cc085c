#include "tabledb/data_file_names.h"

#include <QDir>
#include <QFileInfo>

#include <cpl_vsi.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace tabledb {
namespace {

/// GDAL names under this prefix (followed by an absolute path without its leading slash) are
/// real paths matched without regard to case. GDAL keeps the pointer: it must live for ever.
constexpr char kCaseFreePrefix[] = "/vsinocase/";

bool isAllLower(const QString& text) {
    return text == text.toLower();
}
bool isAllUpper(const QString& text) {
    return text == text.toUpper();
}

/// The real file a name under the prefix stands for (GDAL hands on the name after the
/// prefix): the exact path when present, else the path of the same name in another spelling,
/// else the path as given (which does not exist).
QByteArray realPath(const char* nameAfterPrefix) {
    const QString path = '/' + QString::fromUtf8(nameAfterPrefix);
    const QFileInfo info(path);
    if (info.exists())
        return path.toUtf8();
    const DataFileMatch match = matchDataFile(info.path(), info.fileName());
    return (match.found() ? match.path : path).toUtf8();
}

// The virtual file system: read-only, each call forwarded to the real file.
int statFile(void*, const char* name, VSIStatBufL* status, int flags) {
    return VSIStatExL(realPath(name).constData(), status, flags);
}

void* openFile(void*, const char* name, const char* access) {
    if (std::strpbrk(access, "wa+"))
        return nullptr;
    return VSIFOpenL(realPath(name).constData(), "rb");
}

char** readFolder(void*, const char* name, int maxFiles) {
    return VSIReadDirEx(realPath(name).constData(), maxFiles);
}

vsi_l_offset tellFile(void* file) {
    return VSIFTellL(static_cast<VSILFILE*>(file));
}
int seekFile(void* file, vsi_l_offset offset, int whence) {
    return VSIFSeekL(static_cast<VSILFILE*>(file), offset, whence);
}
size_t readFile(void* file, void* buffer, size_t size, size_t count) {
    return VSIFReadL(buffer, size, count, static_cast<VSILFILE*>(file));
}
int fileAtEnd(void* file) {
    return VSIFEofL(static_cast<VSILFILE*>(file));
}
int closeFile(void* file) {
    return VSIFCloseL(static_cast<VSILFILE*>(file));
}

void installCaseFreeFileSystem() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        // Kept for the whole run, as the prefix is.
        static VSIFilesystemPluginCallbacksStruct* callbacks = VSIAllocFilesystemPluginCallbacksStruct();
        callbacks->stat = statFile;
        callbacks->open = openFile;
        callbacks->read_dir = readFolder;
        callbacks->tell = tellFile;
        callbacks->seek = seekFile;
        callbacks->read = readFile;
        callbacks->eof = fileAtEnd;
        callbacks->close = closeFile;
        VSIInstallPluginHandler(kCaseFreePrefix, callbacks);
    });
}

/// True when GDAL, opening `path`, finds every companion of it by itself: each file that
/// shares the base name in some spelling has exactly the same base name and an extension in
/// one case.
bool companionsSpelledAlike(const QString& path) {
    const QFileInfo info(path);
    const QString base = info.completeBaseName() + '.';
    const QStringList names = info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System);
    return std::all_of(names.cbegin(), names.cend(), [&base](const QString& name) {
        if (!name.startsWith(base, Qt::CaseInsensitive))
            return true;
        const QString extension = name.mid(base.size());
        return name.startsWith(base) && (isAllLower(extension) || isAllUpper(extension));
    });
}

} // namespace

QString DataFileMatch::fileName() const {
    return QFileInfo(path).fileName();
}

DataFileMatch matchDataFile(const QString& folder, const QString& fileName) {
    DataFileMatch match;
    if (fileName.isEmpty() || fileName.contains('/'))
        return match;
    const QDir dir(folder);
    QStringList spellings;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            spellings << name;
    }
    if (spellings.isEmpty())
        return match;
    std::sort(spellings.begin(), spellings.end());
    const QString chosen = spellings.contains(fileName) ? fileName : spellings.first();
    spellings.removeOne(chosen);
    match.path = dir.filePath(chosen);
    match.otherSpellings = spellings;
    return match;
}

QString gdalOpenName(const QString& path) {
    if (companionsSpelledAlike(path))
        return path;
    installCaseFreeFileSystem();
    return QString::fromLatin1(kCaseFreePrefix) + QFileInfo(path).absoluteFilePath().mid(1);
}

} // namespace tabledb
