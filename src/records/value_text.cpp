#include "records/value_text.h"

#include <QLocale>

namespace quillfen {

QString valueText(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QString: {
        QString text = value.toString();
        int end = int(text.size());
        while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
            --end;
        return text.left(end);
    }
    default:
        return value.toString();
    }
}

}  // namespace quillfen
