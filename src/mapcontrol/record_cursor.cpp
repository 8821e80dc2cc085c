#include "mapcontrol/record_cursor.h"

#include <QDate>
#include <QLocale>

#include <cmath>

namespace mapcontrol {

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

RecordCursor::RecordCursor(DatasetPtr dataset, tabledb::RecordSet records,
                           std::shared_ptr<const std::vector<bool>> keptFeatures)
    : dataset_(std::move(dataset)), records_(std::move(records)), kept_(std::move(keptFeatures)) {
    for (records_.moveFirst(); !records_.atEnd(); records_.next())
        count_ += keeps(records_.rowNumber()) ? 1 : 0;
    first();
}

bool RecordCursor::keeps(int feature) const {
    if (!kept_)
        return true;
    return feature >= 0 && size_t(feature) < kept_->size() && (*kept_)[size_t(feature)];
}

void RecordCursor::skipHidden() {
    while (!records_.atEnd() && !keeps(records_.rowNumber()))
        records_.next();
}

void RecordCursor::first() {
    records_.moveFirst();
    skipHidden();
}

void RecordCursor::next() {
    records_.next();
    skipHidden();
}

Shape RecordCursor::shape() const {
    if (!dataset_ || records_.atEnd())
        return {};
    return dataset_->shape(records_.rowNumber());
}

} // namespace mapcontrol
