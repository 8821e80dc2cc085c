#pragma once

#include "reach_geometry.h"

#include <QString>

namespace quillfen::sample_data {

/// Writes `kx_drg.tif`: a palette GeoTIFF that looks like a scanned topographic sheet of the
/// reach (pale paper, woodland tint, blue water, brown contours, a kilometre grid, lettered
/// names), georeferenced in UTM zone 15 metres on NAD83, deflate-compressed in tiles, with
/// internal overviews so that a viewer reads a zoomed-out view quickly.
void writeRasterSheet(const Reach& reach, const QString& folder);

} // namespace quillfen::sample_data
