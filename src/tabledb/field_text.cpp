#include "tabledb/field_text.h"

#include <QDate>
#include <QLocale>

#include <cmath>

namespace tabledb {
namespace {

/// The shortest decimal that reads back as the same single-precision value (0.1f gives 0.1,
/// not the 0.100000001 of its double form).
QString shortestSingleText(float value) {
    constexpr int kMostDigitsASingleNeeds = 9;
    for (int digits = 1; digits < kMostDigitsASingleNeeds; ++digits) {
        const QString text = QString::number(double(value), 'g', digits);
        if (text.toFloat() == value)
            return text;
    }
    return QString::number(double(value), 'g', kMostDigitsASingleNeeds);
}

QString withoutTrailingSpaces(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

} // namespace

QString fieldText(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (std::isfinite(number) && number == std::trunc(number) && std::abs(number) < 1e15)
            return QString::number(qlonglong(number));
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::Float:
        return shortestSingleText(value.toFloat());
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    }
    case QMetaType::QString:
        return withoutTrailingSpaces(value.toString());
    default:
        return value.toString();
    }
}

} // namespace tabledb
