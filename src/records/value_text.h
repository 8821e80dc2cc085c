#pragma once

#include <QString>
#include <QVariant>

namespace quillfen {

/// The text form of a field value as the records grid shows it: numbers in their shortest
/// round-trip decimal form with "." (7.5, 12, -99, 0.05), text as stored without trailing
/// padding, dates M/D/YYYY (as the engine gives them, or made from a date value); an empty
/// text for NULL.
QString valueText(const QVariant& value);

} // namespace quillfen
