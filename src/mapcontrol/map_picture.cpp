// The map's picture export: SaveImage renders the view through the one drawing path and
// writes it as a Windows bitmap.

#include "mapcontrol/map_control.h"

#include "mapcontrol/view_transform.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

#include <cmath>

namespace mapcontrol {

namespace {
constexpr int kBitmapFormat = 1;

/// Writes the picture as a Windows bitmap into a temporary file beside `path`, which then takes
/// the place of any file there: a failure leaves that file as it was. Returns the reason of a
/// failure; empty on success.
QString writeBitmapInPlaceOf(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(picture))
        return writer.errorString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // A write cut short says why only when tried again.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return file.errorString();
        written += count;
    }
    return file.commit() ? QString() : file.errorString();
}
} // namespace

bool MapControl::saveImage(int format, const QString& path, double scale, QString* error) {
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (format != kBitmapFormat)
        return fail(tr("Image format %1 is not supported; only 1 (Windows bitmap) is.").arg(format));
    if (!(scale > 0) || !std::isfinite(scale))
        return fail(tr("The scale factor %1 is not a positive number.").arg(scale));
    if (target_ != nullptr)
        return fail(tr("The map cannot be saved while it is being drawn."));
    const ViewTransform transform = screenTransform().scaled(scale);
    QImage image(transform.pixels(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return fail(tr("An image of %1 x %2 pixels is too large.")
                        .arg(transform.pixels().width())
                        .arg(transform.pixels().height()));
    render(image, transform, scale, QRect());
    const QString failure = writeBitmapInPlaceOf(image.convertToFormat(QImage::Format_RGB888), path);
    if (!failure.isEmpty())
        return fail(failure);
    return true;
}

} // namespace mapcontrol
