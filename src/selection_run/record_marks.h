#pragma once

#include "records/record_grid_model.h"

#include <QVector>

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// Marks on the map the points of records of the grid (their row sources), in place of any
/// marked before; an empty list takes every mark away. Records of layers no longer in the
/// map are left out.
void markRecords(mapcontrol::MapControl& map, const RecordGridModel& grid, const QVector<RowSource>& records);

/// Brings the point of a record of the grid into view, at the same scale, and flashes it.
/// A record without a shape, or of a layer no longer in the map, changes nothing.
void showRecord(mapcontrol::MapControl& map, const RecordGridModel& grid, RowSource record);

} // namespace quillfen
