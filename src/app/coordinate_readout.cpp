#include "app/coordinate_readout.h"

#include <QLocale>

namespace quillfen {

QString cutCoordinateText(double value) {
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    const int point = int(text.indexOf(QLatin1Char('.')));
    if (point >= 0)
        text.truncate(point + 2);
    return text;
}

QString coordinateReadout(QPointF mapPoint) {
    return QStringLiteral("UTM Zone 15 - X:") + cutCoordinateText(mapPoint.x()) + QStringLiteral(" Y:") +
           cutCoordinateText(mapPoint.y());
}

} // namespace quillfen
