#pragma once

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// Colours the land/water coverage (the kxlw layer found first in the stack) by field "lw".
void render_94lw(mapcontrol::MapControl& map);
/// Colours the land/water coverage by its land cover/use field "class".
void render_94lcu(mapcontrol::MapControl& map);
/// Labels the river-mile points with their "mile" field when `milesTicked`; else nothing.
void render_miles_text(mapcontrol::MapControl& map, bool milesTicked);

} // namespace quillfen
