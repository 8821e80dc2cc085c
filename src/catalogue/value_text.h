#pragma once

#include "tabledb/field_text.h"

#include <QString>
#include <QVariant>

namespace quillfen {

/// The text form of a field value as the records grid shows it: the table's field text
/// (7.5, 12, -99, 0.05; dates M/D/YYYY; text without padding; nothing for NULL).
inline QString valueText(const QVariant& value) {
    return tabledb::fieldText(value);
}

} // namespace quillfen
