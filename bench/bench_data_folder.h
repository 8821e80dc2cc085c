#pragma once

// The demonstration data folders that benchmarks run on, generated once per scale and kept
// under /tmp/quillfen-bench-data/scale-N between runs.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QString>

#include <cstdio>

namespace benchdata {

/// The data folder of a scale, generated when it is not there yet. A lock beside the folder
/// keeps two benchmarks from generating it at once: the second waits for the first.
inline QString dataFolder(int scale) {
    const QString cache = QStringLiteral("/tmp/quillfen-bench-data");
    const QString folder = cache + QStringLiteral("/scale-%1").arg(scale);
    const QString marker = folder + QStringLiteral("/.complete");
    QDir().mkpath(cache);
    QLockFile lock(folder + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!lock.lock())
        qFatal("cannot lock %s", qPrintable(folder));
    if (QFile::exists(marker))
        return folder;
    std::printf("generating the data folder at scale %d ...\n", scale);
    std::fflush(stdout);
    QDir(folder).removeRecursively();
    const int status = QProcess::execute(QCoreApplication::applicationDirPath() + "/quillfen-sample-data",
                                         {folder, "--scale", QString::number(scale)});
    if (status != 0)
        qFatal("the generator failed at scale %d", scale);
    QFile(marker).open(QIODevice::WriteOnly);
    return folder;
}

} // namespace benchdata
