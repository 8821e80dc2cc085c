#include "info_windows/logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// The picture is drawn on a fixed canvas of these units and scaled to the requested size.
constexpr qreal kCanvasWidth = 120;
constexpr qreal kCanvasHeight = 46;

const QColor kSkyTop(198, 226, 245);
const QColor kSkyBottom(250, 252, 255);
const QColor kBank(104, 150, 84);
const QColor kRiver(38, 104, 178);
const QColor kRiverLight(140, 190, 230);
const QColor kFish(32, 72, 64);
const QColor kFishBelly(214, 196, 122);

void drawSky(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, kCanvasHeight);
    sky.setColorAt(0, kSkyTop);
    sky.setColorAt(1, kSkyBottom);
    painter.fillRect(QRectF(0, 0, kCanvasWidth, kCanvasHeight), sky);
}

void drawBanks(QPainter& painter) {
    QPainterPath land;
    land.moveTo(0, 30);
    land.cubicTo(30, 24, 70, 36, kCanvasWidth, 28);
    land.lineTo(kCanvasWidth, kCanvasHeight);
    land.lineTo(0, kCanvasHeight);
    land.closeSubpath();
    painter.fillPath(land, kBank);
}

// A river winding from the far bank on the left towards the viewer on the right.
void drawRiver(QPainter& painter) {
    QPainterPath river;
    river.moveTo(0, 33);
    river.cubicTo(35, 28, 55, 44, kCanvasWidth, 34);
    river.lineTo(kCanvasWidth, 44);
    river.cubicTo(60, 50, 30, 36, 0, 38);
    river.closeSubpath();
    painter.fillPath(river, kRiver);

    painter.setPen(QPen(kRiverLight, 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(18, 34), QPointF(28, 33.5));
    painter.drawLine(QPointF(62, 40), QPointF(74, 40.5));
    painter.drawLine(QPointF(92, 39), QPointF(104, 38));
}

// A fish in mid-leap above the river, head up and to the right, with the splash it left behind.
void drawFish(QPainter& painter) {
    painter.save();
    painter.translate(60, 20);
    painter.rotate(-22);

    QPainterPath tail;
    tail.moveTo(-13, 0);
    tail.lineTo(-21, -6);
    tail.lineTo(-19, 0);
    tail.lineTo(-21, 6);
    tail.closeSubpath();
    painter.fillPath(tail, kFish);

    QPainterPath body;
    body.moveTo(15, 0);
    body.cubicTo(8, -8, -8, -7, -14, 0);
    body.cubicTo(-8, 7, 8, 8, 15, 0);
    painter.fillPath(body, kFish);

    QPainterPath belly;
    belly.moveTo(12, 1.5);
    belly.cubicTo(4, 6, -6, 5, -11, 1.5);
    belly.cubicTo(-4, 3, 5, 3, 12, 1.5);
    painter.fillPath(belly, kFishBelly);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(9, -1.5), 1.5, 1.5);
    painter.restore();

    painter.setPen(Qt::NoPen);
    painter.setBrush(kRiverLight);
    painter.drawEllipse(QPointF(38, 30), 1.4, 1.4);
    painter.drawEllipse(QPointF(42, 27), 1.0, 1.0);
    painter.drawEllipse(QPointF(35, 27.5), 0.8, 0.8);
}

} // namespace

QPixmap quillfenLogo(QSize size, qreal devicePixelRatio) {
    if (size.isEmpty() || !(devicePixelRatio > 0))
        return QPixmap();

    QPixmap logo((QSizeF(size) * devicePixelRatio).toSize());
    logo.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / kCanvasWidth, size.height() / kCanvasHeight);
    drawSky(painter);
    drawBanks(painter);
    drawRiver(painter);
    drawFish(painter);
    return logo;
}

QImage quillfenIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    if (size <= 0)
        return icon;
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvasHeight, size / kCanvasHeight);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, kCanvasHeight, kCanvasHeight), 7, 7);
    painter.setClipPath(tile);
    // The square shows the middle of the logo: the leaping fish over the river.
    painter.translate(-(kCanvasWidth - kCanvasHeight) / 2 + 2, 0);
    drawSky(painter);
    drawBanks(painter);
    drawRiver(painter);
    drawFish(painter);
    return icon;
}
