#include "selection_run/selection_run.h"

#include "mapcontrol/map_control.h"
#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "selection_run/busy_cursor.h"
#include "selection_run/companion_lookup.h"
#include "tabledb/file_stamp.h"

#include <QPointer>

namespace quillfen {
namespace {

using namespace mapcontrol;
using tabledb::FileStamp;

const QString kSelectedRecords = QStringLiteral("Selected Records: ");
const QString kGraphicalTitle = QStringLiteral("Selected Records: Graphical Query");

/// The highlight of a selected sample point: a yellow circle at the map's default size.
Symbol highlightSymbol() {
    Symbol symbol;
    symbol.type = SymbolType::Point;
    symbol.style = Circle;
    symbol.color = 0x00FFFF;
    return symbol;
}

bool hasOwnRecords(SampleKind kind) {
    return kind == SampleKind::Water || kind == SampleKind::Invert;
}

/// Water quality and macro-invertebrates: each found feature is a record of the layer, listed
/// in record order; `inside`, when given, keeps only the features it flags. The grid is laid
/// out for the kind once the search has been accepted. A feature without a shape is listed but
/// not painted. Returns the engine's error, or an empty text; nothing is listed then.
QString listLayerRecords(RecordGridModel& grid, const VectorLayer& layer, const std::vector<bool>* inside,
                         const QString& expression, SampleKind kind, RunListing& listing) {
    const DatasetPtr& dataset = layer.dataset();
    QVector<int> found;
    const auto collect = [&found](const tabledb::RowReader& row) { found.append(row.rowNumber()); };
    tabledb::HeldTablePtr table;
    QString error;
    if (inside) {
        // Only the records of the features inside are read.
        QVector<int> features;
        for (size_t feature = 0; feature < inside->size(); ++feature) {
            if ((*inside)[feature])
                features.append(int(feature));
        }
        error = dataset->attributes().streamRecordNumbersAt(dataset->name(), features, collect, &table);
    } else {
        error = dataset->attributes().streamRecordNumbers(dataset->name(), expression, collect, &table);
    }
    if (!error.isEmpty())
        return error;
    layOutGrid(grid, kind);
    Highlight painted{dataset, {}};
    const qint32 layerSource = grid.sourceLayer(layer.name());
    const int source =
        found.isEmpty() ? -1 : grid.addRecordSource(recordSource(std::move(table), kind, false));
    for (const int feature : std::as_const(found)) {
        const bool located = feature < dataset->featureCount() && dataset->hasGeometry(feature);
        if (located)
            painted.features.append(feature);
        writeLayerRecordRow(grid, ++listing.recordCounter, source, feature);
        grid.setRowSource(listing.recordCounter, {layerSource, located ? feature : RowSource::kNone});
    }
    listing.highlights.append(std::move(painted));
    return QString();
}

} // namespace

bool SelectionRequest::operator==(const SelectionRequest& o) const {
    return kind == o.kind && periodCodes == o.periodCodes && graphical == o.graphical &&
           polygon.kind == o.polygon.kind && polygon.points == o.polygon.points &&
           polygon.partStarts == o.polygon.partStarts && expression == o.expression && dataPath == o.dataPath;
}

struct SelectionRun::Result {
    SelectionRequest request;
    SelectionOutcome outcome;
    QVector<Highlight> highlights;
    QPointer<const RecordGridModel> grid;
    quint64 gridRevision = 0;
    /// The layers searched, by name, with the dataset each showed.
    QVector<QPair<QString, const Dataset*>> layers;
    QVector<FileStamp> files;
};

SelectionRun::SelectionRun(MapControl& map) : map_(map) {}

SelectionRun::~SelectionRun() = default;

void SelectionRun::setBetweenLayers(std::function<void()> betweenLayers) {
    betweenLayers_ = std::move(betweenLayers);
}

void SelectionRun::prepareSiteIndexes() {
    for (int position = 0; position < map_.layerCount(); ++position) {
        const auto layer = std::dynamic_pointer_cast<VectorLayer>(map_.layer(position));
        SampleKind kind;
        SamplingPeriod period;
        if (layer && samplePeriodOfLayer(layer->name(), &kind, &period) && !hasOwnRecords(kind))
            siteIndexes_.of(*layer);
    }
}

void SelectionRun::beginRedraw() {
    checkedThisRedraw_ = false;
}

SelectionOutcome SelectionRun::run(const SelectionRequest& request, RecordGridModel& grid, bool paint) {
    if (!lastResult_ || !isCurrent(*lastResult_, request, grid)) {
        const BusyCursor busy;
        auto result = std::make_unique<Result>();
        result->request = request;
        grid.beginFill();
        search(request, grid, *result);
        grid.endFill();
        result->grid = &grid;
        result->gridRevision = grid.revision();
        lastResult_ = std::move(result);
    }
    checkedThisRedraw_ = true;
    if (paint)
        paintHighlights(*lastResult_);
    return lastResult_->outcome;
}

bool SelectionRun::isCurrent(const Result& result, const SelectionRequest& request,
                             const RecordGridModel& grid) const {
    if (!(result.request == request) || result.grid != &grid || result.gridRevision != grid.revision())
        return false;
    if (checkedThisRedraw_)
        return true;
    // A run that failed is tried again: the files may have been mended since.
    if (!result.outcome.error.isEmpty())
        return false;
    for (const auto& [name, dataset] : result.layers) {
        const auto layer = std::dynamic_pointer_cast<VectorLayer>(map_.layerNamed(name));
        if ((layer ? layer->dataset().get() : nullptr) != dataset)
            return false;
    }
    for (const FileStamp& file : result.files) {
        if (!file.isCurrent())
            return false;
    }
    return true;
}

void SelectionRun::search(const SelectionRequest& request, RecordGridModel& grid, Result& result) {
    RunListing listing{grid, 0, {}};
    SelectionOutcome& outcome = result.outcome;
    for (const QString& code : request.periodCodes) {
        BusyCursor::lookAgain();
        if (BusyCursor::isShown() && betweenLayers_)
            betweenLayers_();
        const QString name = layerCode(request.kind, code);
        auto layer = std::dynamic_pointer_cast<VectorLayer>(map_.layerNamed(name));
        result.layers.append({name, layer ? layer->dataset().get() : nullptr});
        if (!layer)
            continue;
        outcome.searched = true;
        outcome.title = request.graphical ? kGraphicalTitle : kSelectedRecords + request.expression;
        const Dataset& dataset = *layer->dataset();
        const CompanionLookup companion(request.kind, request.dataPath, code);
        result.files.append(FileStamp::of(dataset.attributes().tableFile(dataset.name())));
        if (!hasOwnRecords(request.kind))
            result.files.append(FileStamp::of(companion.tableFile()));

        // Before any polygon is drawn there is nothing to search.
        if (request.graphical && request.polygon.isNull()) {
            layOutGrid(grid, request.kind);
            continue;
        }
        QString error;
        if (hasOwnRecords(request.kind)) {
            std::vector<bool> inside;
            if (request.graphical)
                inside = map_.featuresInside(*layer, request.polygon);
            error =
                listLayerRecords(grid, *layer, request.graphical ? &inside : nullptr,
                                 request.graphical ? QString() : request.expression, request.kind, listing);
            if (!error.isEmpty())
                error = QStringLiteral("The search of layer %1 failed: %2").arg(name, error);
        } else {
            layOutGrid(grid, request.kind);
            const SiteIndex& sites = siteIndexes_.of(*layer);
            error = request.graphical
                        ? companion.listBySites(*layer, sites, map_.featuresInside(*layer, request.polygon),
                                                listing)
                        : companion.listByExpression(*layer, sites, request.expression, listing);
        }
        if (!error.isEmpty()) {
            outcome.error = error;
            break;
        }
    }
    result.highlights = std::move(listing.highlights);
}

void SelectionRun::paintHighlights(const Result& result) {
    static const Symbol symbol = highlightSymbol();
    for (const Highlight& highlight : result.highlights)
        map_.paintFeatures(*highlight.dataset, highlight.features, symbol);
}

} // namespace quillfen
