#pragma once

// The selection run (folder selection_run): the search that follows each redraw, the yellow
// highlights and the companion tables. Uses tabledb, mapcontrol, the catalogue and records.

#include "catalogue/sampling_periods.h"
#include "mapcontrol/map_layers.h"
#include "mapcontrol/map_types.h"
#include "selection_run/companion_lookup.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// What a selection run searches: the draw/query layers (kind and period codes in list
/// order) by the drawn polygon or by the search expression.
struct SelectionRequest {
    SampleKind kind = SampleKind::Water;
    QStringList periodCodes;
    bool graphical = false;
    mapcontrol::Shape polygon; ///< graphical: a null shape when none has been drawn yet
    QString expression;        ///< logical: the search expression
    QString dataPath;          ///< the folder of the companion tables

    bool operator==(const SelectionRequest& o) const;
};

/// The result of a run: the records-window title it set (when any layer was searched) and a
/// message naming the layer or table and the reason when a search was rejected.
struct SelectionOutcome {
    bool searched = false;
    QString title;
    QString error;
};

/// Runs a requested selection after a layer has been drawn: searches every draw/query layer,
/// paints the hits in yellow over the map and lays their records into the grid, numbered
/// from 1 across all layers. Fish and vegetation records come from the companion tables.
/// Records go from the engine straight into the grid, which views see as one reset.
///
/// A redraw raises one notification per layer and each one re-runs the selection. The result
/// of a run is kept: a later run, in the same redraw or in any later one (zoom, pan), reuses it
/// while the request is the same, the grid holds what the run wrote, the layers are the same
/// and every table the run read keeps its size and modification time; otherwise it searches
/// afresh. The highlights need painting only after the last layer drawn: earlier paint is
/// drawn over by the layers above. A fresh search shows the wait cursor while it runs.
class SelectionRun {
public:
    explicit SelectionRun(mapcontrol::MapControl& map);
    ~SelectionRun();

    /// A new redraw has started: its first run checks that the kept result is still current.
    void beginRedraw();
    /// Runs the selection (or reuses the kept result) and, when `paint`, paints the hits.
    SelectionOutcome run(const SelectionRequest& request, RecordGridModel& grid, bool paint);

    /// Called between the layers of a fresh search once its wait cursor shows, so that the
    /// windows can repaint meanwhile; nothing when empty.
    void setBetweenLayers(std::function<void()> betweenLayers);

    /// Builds the site index of each fish and vegetation layer on the map that has none yet,
    /// so that the first selection on it finds the index ready. Meant for when the window is
    /// otherwise idle: it reads the layers' attribute tables on this thread.
    void prepareSiteIndexes();

private:
    struct Result;
    bool isCurrent(const Result& result, const SelectionRequest& request, const RecordGridModel& grid) const;
    void search(const SelectionRequest& request, RecordGridModel& grid, Result& result);
    void paintHighlights(const Result& result);

    mapcontrol::MapControl& map_;
    SiteIndexCache siteIndexes_;
    std::unique_ptr<Result> lastResult_;
    bool checkedThisRedraw_ = false;
    std::function<void()> betweenLayers_;
};

} // namespace quillfen
