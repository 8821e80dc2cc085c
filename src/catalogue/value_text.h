#pragma once

#include "mapcontrol/map_layers.h"

#include <QString>
#include <QVariant>

namespace quillfen {

/// The text form of a field value as the records grid shows it: the map's field text
/// (7.5, 12, -99, 0.05; dates M/D/YYYY; text without padding; nothing for NULL).
inline QString valueText(const QVariant& value) { return mapcontrol::fieldText(value); }

}  // namespace quillfen
