#pragma once

#include <QString>
#include <QVariant>

namespace tabledb {

/// The text of a field value, as renderers compare it and the records grid shows it: integers
/// and whole reals without a decimal part ("12", never "12.0"), other reals in their shortest
/// round-trip form with "." (7.5, 0.05), dates as M/D/YYYY, text without trailing padding,
/// NULL as an empty text.
QString fieldText(const QVariant& value);

} // namespace tabledb
