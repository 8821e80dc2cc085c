#pragma once

// A small filesystem of a test's own, to see what writing does when the disk is full: a
// tmpfs mounted on a temporary folder for the test's lifetime. Mounting needs root (CI runs
// as root); elsewhere skipReason() says why there is none.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillfen {

class SmallFilesystem {
public:
    explicit SmallFilesystem(qint64 bytes) {
        if (geteuid() != 0) {
            skipReason_ = QStringLiteral("mounting a small full filesystem needs root");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (!dir_.isValid() || mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                                     MS_NOSUID | MS_NODEV, options.constData()) != 0) {
            skipReason_ = QStringLiteral("a tmpfs could not be mounted: %1")
                              .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        mounted_ = true;
    }
    ~SmallFilesystem() {
        if (mounted_)
            umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool isMounted() const { return mounted_; }
    QString skipReason() const { return skipReason_; }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    /// Fills the filesystem with a file of its own, then frees `room` bytes of it again, so that
    /// a write of more than that fails part way with "No space left on device".
    bool fillLeaving(qint64 room) {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray chunk(4096, 'x');
        while (filler.write(chunk) == chunk.size()) {
        }
        return filler.resize(std::max<qint64>(0, filler.size() - room));
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString skipReason_;
};

} // namespace quillfen
