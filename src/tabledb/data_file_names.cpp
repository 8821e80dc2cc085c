#include "tabledb/data_file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cpl_vsi.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
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

/// Every entry of a folder, whatever it is: files, links, folders, pipes, devices.
constexpr QDir::Filters kEveryEntry = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

/// The real file a name under the prefix stands for (GDAL hands on the name after the
/// prefix): a folder as it is; a file as matchDataFile resolves its name, or the path as given
/// when no spelling is present (which then does not exist).
QByteArray realPath(const char* nameAfterPrefix) {
    const QString path = '/' + QString::fromUtf8(nameAfterPrefix);
    const QFileInfo info(path);
    if (info.isDir())
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
    const QByteArray path = realPath(name);
    // Opening a named pipe waits for a writer, and a device may never end.
    if (!notARegularFile(QString::fromUtf8(path)).isEmpty())
        return nullptr;
    return VSIFOpenL(path.constData(), "rb");
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

/// What an entry that is not a regular file is, in words.
QString kindOfEntry(std::filesystem::file_type type) {
    switch (type) {
    case std::filesystem::file_type::directory:
        return QStringLiteral("a folder");
    case std::filesystem::file_type::fifo:
        return QStringLiteral("a named pipe");
    case std::filesystem::file_type::socket:
        return QStringLiteral("a socket");
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
        return QStringLiteral("a device");
    default:
        return QStringLiteral("of an unknown kind");
    }
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
    for (const QString& name : dir.entryList(kEveryEntry, QDir::Unsorted)) {
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            spellings << name;
    }
    if (spellings.isEmpty())
        return match;
    std::sort(spellings.begin(), spellings.end());
    const QString lowerCase = fileName.toLower();
    const QString chosen = spellings.contains(lowerCase) ? lowerCase : spellings.first();
    spellings.removeOne(chosen);
    match.path = dir.filePath(chosen);
    match.otherSpellings = spellings;
    return match;
}

QString notARegularFile(const QString& path) {
    std::error_code error;
    // Follows links: a link to a regular file is a regular file.
    const std::filesystem::file_type type =
        std::filesystem::status(QFile::encodeName(path).toStdString(), error).type();
    if (type == std::filesystem::file_type::regular || type == std::filesystem::file_type::not_found)
        return QString();
    return QStringLiteral("%1 is %2, not a regular file").arg(QFileInfo(path).fileName(), kindOfEntry(type));
}

GdalOpening gdalOpening(const QString& path) {
    const QFileInfo info(path);
    const QString base = info.completeBaseName() + '.';
    // GDAL finds the same files alone when each companion has one spelling, with exactly this
    // base name and an extension all in one case.
    bool foundAlone = true;
    QSet<QString> lowerCaseNames;
    for (const QString& name : info.dir().entryList(kEveryEntry)) {
        if (!name.startsWith(base, Qt::CaseInsensitive))
            continue;
        const QString problem = notARegularFile(info.dir().filePath(name));
        if (!problem.isEmpty())
            return {QString(), problem};
        const QString extension = name.mid(base.size());
        foundAlone = foundAlone && name.startsWith(base) &&
                     (isAllLower(extension) || isAllUpper(extension)) &&
                     !lowerCaseNames.contains(name.toLower());
        lowerCaseNames.insert(name.toLower());
    }
    if (foundAlone)
        return {path, QString()};
    return {QString::fromLatin1(kCaseFreePrefix) + info.absoluteFilePath().mid(1), QString()};
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

} // namespace tabledb
