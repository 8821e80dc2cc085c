// quillfen-icon FOLDER
//
// Writes the program's icon at the usual sizes of the desktop's icon theme, as
// FOLDER/<N>x<N>/apps/quillfen.png, drawn by the same code as the logo.

#include "info_windows/logo.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: quillfen-icon FOLDER\n", stderr);
        return 2;
    }
    for (int size : kIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments.at(1)).arg(size);
        if (!QDir().mkpath(folder) || !quillfenIcon(size).save(folder + QStringLiteral("/quillfen.png"))) {
            std::fprintf(stderr, "quillfen-icon: cannot write the icon into %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
