#include "app/map_export.h"

#include "mapcontrol/map_control.h"
#include "window_parts/user_prompts.h"

#include <QDir>

namespace quillfen {
namespace {
constexpr int kWindowsBitmap = 1;
constexpr double kPictureScale = 2.0;
} // namespace

void printMapToBitmap(QWidget* parent, mapcontrol::MapControl& map) {
    SaveDialogOptions options;
    options.filter = QStringLiteral("Windows Bitmap (*.bmp)");
    options.proposedName = QStringLiteral("map1.bmp");
    options.defaultSuffix = QStringLiteral(".bmp");
    const QString path = UserPrompts::current().chooseSaveFile(parent, options);
    if (path.isEmpty())
        return;
    QString error;
    if (!map.saveImage(kWindowsBitmap, path, kPictureScale, &error))
        UserPrompts::current().message(parent, QStringLiteral("The map could not be saved to %1: %2")
                                                   .arg(QDir::toNativeSeparators(path), error));
}

} // namespace quillfen
