#include "selection_run/record_marks.h"

#include "mapcontrol/map_control.h"
#include "mapcontrol/map_marks.h"

namespace quillfen {
namespace {

/// The dataset of the layer a record came from, while the map still shows that layer.
mapcontrol::DatasetPtr sourceDataset(const mapcontrol::MapControl& map, const RecordGridModel& grid,
                                     RowSource record) {
    if (!record.hasShape() || record.layer >= grid.sourceLayers().size())
        return nullptr;
    const auto layer = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(
        map.layerNamed(grid.sourceLayers().at(record.layer)));
    if (!layer || record.feature >= layer->dataset()->featureCount())
        return nullptr;
    return layer->dataset();
}

} // namespace

void markRecords(mapcontrol::MapControl& map, const RecordGridModel& grid,
                 const QVector<RowSource>& records) {
    QVector<mapcontrol::MarkedFeatures> marks;
    for (const RowSource& record : records) {
        const mapcontrol::DatasetPtr dataset = sourceDataset(map, grid, record);
        if (!dataset)
            continue;
        if (marks.isEmpty() || marks.last().dataset != dataset)
            marks.append({dataset, {}});
        marks.last().features.append(record.feature);
    }
    map.setMarkedFeatures(marks);
}

void showRecord(mapcontrol::MapControl& map, const RecordGridModel& grid, RowSource record) {
    const mapcontrol::DatasetPtr dataset = sourceDataset(map, grid, record);
    if (!dataset || !dataset->hasGeometry(record.feature))
        return;
    map.bringIntoView(dataset->point(dataset->pointBegin(dataset->partBegin(record.feature))));
    map.flashFeature(dataset, record.feature);
}

} // namespace quillfen
