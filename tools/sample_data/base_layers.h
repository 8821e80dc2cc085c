#pragma once

#include "reach_geometry.h"

#include <QString>

namespace quillfen::sample_data {

/// Writes the base map layers: the white base `kx_out`, land/water and land cover `kxlw`
/// (fields lw and class), structures `kxstruc` and river miles `kxmiles` (field mile).
void writeBaseLayers(const Reach& reach, const QString& folder);

} // namespace quillfen::sample_data
