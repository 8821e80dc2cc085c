#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace quillfen {
namespace {

// The pictures are drawn on a canvas of this side, scaled to each size of the icon.
constexpr int kIconSize = 32;
// Every size a toolbar button may ask for, also on a screen of two or three device pixels per
// pixel, so that no picture is ever scaled up from a smaller one.
constexpr int kIconSides[] = {16, 20, 24, 32, 40, 48, 60, 64};

QIcon drawnIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int side : kIconSides) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / double(kIconSize), side / double(kIconSize));
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void drawMagnifier(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(29, 29));
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    p.setBrush(QColor(210, 235, 255));
    p.drawEllipse(QPointF(13, 13), 10, 10);
    p.setPen(QPen(QColor(20, 20, 120), 3, Qt::SolidLine, Qt::RoundCap));
}

} // namespace

QIcon zoomInIcon() {
    return drawnIcon([](QPainter& p) {
        drawMagnifier(p);
        p.drawLine(QPointF(8, 13), QPointF(18, 13));
        p.drawLine(QPointF(13, 8), QPointF(13, 18));
    });
}

QIcon zoomOutIcon() {
    return drawnIcon([](QPainter& p) {
        drawMagnifier(p);
        p.drawLine(QPointF(8, 13), QPointF(18, 13));
    });
}

QIcon panIcon() {
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 1.5));
        p.setBrush(QColor(250, 215, 170));
        QPainterPath hand;
        // Four fingers, a thumb and the palm.
        for (int i = 0; i < 4; ++i)
            hand.addRoundedRect(QRectF(8 + i * 4.5, 3 + (i == 0 || i == 3 ? 3 : 0), 4.2, 16), 2, 2);
        hand.addRoundedRect(QRectF(8, 14, 18, 14), 5, 5);
        QPainterPath thumb;
        thumb.addRoundedRect(QRectF(2, 14, 10, 4.5), 2, 2);
        p.drawPath(hand.united(thumb).simplified());
    });
}

QIcon fullExtentIcon() {
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(20, 70, 140), 2));
        p.setBrush(QColor(120, 180, 240));
        const QRectF globe(3, 3, 26, 26);
        p.drawEllipse(globe);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(30, 120, 50), 1.5));
        p.drawEllipse(QRectF(10, 3, 12, 26));
        p.drawLine(QPointF(16, 3), QPointF(16, 29));
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        p.drawLine(QPointF(5.5, 9.5), QPointF(26.5, 9.5));
        p.drawLine(QPointF(5.5, 22.5), QPointF(26.5, 22.5));
    });
}

QIcon helpIcon() {
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(20, 20, 120), 2));
        p.setBrush(QColor(255, 245, 160));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        QFont font("Liberation Sans");
        font.setPixelSize(20);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
    });
}

} // namespace quillfen
