#pragma once

#include "reach_geometry.h"

#include <QString>

namespace quillfen::sample_data {

/// Writes the 82 sample point layers ("kx" + kind letter + period code) and the companion
/// tables of the fish and vegetation periods. Every point lies in the water region its stratum
/// names. At scale 1 a water-quality layer holds about 140 points, a macro-invertebrate layer
/// 120, a fish layer 90 sites with 0 to 8 catch records each, a vegetation layer 450 sites with
/// 1 to 3 records each; scale multiplies these numbers.
///
/// Planted cases that tests rely on, present at every seed and scale:
/// - kxw93sm ends with a sample that has no shape (null geometry), stratum "Isolated", whose
///   dissolved oxygen is 3.4 (below 5, and measured).
/// - kxf93sm has sites with codes 12 and 120; site 7 caught nothing (no catch records), site
///   12 has four catch records; "Bluegill" is caught at sites 12, 20 and 33 of kxr93sm.
/// - kxv98 has sites with codes 12 and 120; "Wild Rice" occurs in kxv98d at site 33 only (it
///   is drawn nowhere else in any vegetation table).
/// - Site codes of fish and vegetation layers run 1, 2, 3 … in each layer; when a layer has
///   fewer than 120 sites, its last site takes the code 120.
/// - The layers of the two periods whose boxes are disabled (kxw02fl, kxf94sm) exist like
///   all others.
void writeSampleData(const Reach& reach, const QString& folder, quint64 seed, int scale);

} // namespace quillfen::sample_data
