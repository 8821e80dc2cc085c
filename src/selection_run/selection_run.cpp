#include "selection_run/selection_run.h"

#include "layers/sample_schema.h"
#include "mapcontrol/map_control.h"
#include "records/grid_layout.h"
#include "selection_run/companion_lookup.h"

namespace quillfen {
namespace {

using namespace mapcontrol;

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

bool hasOwnRecords(SampleKind kind) { return kind == SampleKind::Water || kind == SampleKind::Invert; }

/// Water quality and macro-invertebrates: each found feature is a record of the layer.
/// A feature without a shape is listed but not painted.
void listLayerRecords(RecordCursor& found, SampleKind kind, RunListing& listing) {
    const QVector<SchemaField>& schema = sampleSchema(kind);
    QVector<int> columns;
    for (const SchemaField& field : schema)
        columns.append(found.records().columnIndex(field.field));
    QVector<QVariant> values(schema.size());
    for (; !found.atEnd(); found.next()) {
        const int n = ++listing.recordCounter;
        const Shape shape = found.shape();
        if (!shape.isNull())
            listing.highlights.append(shape);
        for (int i = 0; i < schema.size(); ++i)
            values[i] = found.records().value(columns[i]);
        writeLayerRecordRow(listing.grid, n, values);
    }
}

}  // namespace

bool SelectionRequest::operator==(const SelectionRequest& o) const {
    return kind == o.kind && periodCodes == o.periodCodes && graphical == o.graphical &&
           polygon.kind == o.polygon.kind && polygon.points == o.polygon.points &&
           polygon.partStarts == o.polygon.partStarts && expression == o.expression && dataPath == o.dataPath;
}

struct SelectionRun::Result {
    SelectionRequest request;
    SelectionOutcome outcome;
    QVector<Shape> highlights;
};

SelectionRun::SelectionRun(MapControl& map) : map_(map) {}

SelectionRun::~SelectionRun() = default;

void SelectionRun::beginRedraw() { lastResult_.reset(); }

SelectionOutcome SelectionRun::run(const SelectionRequest& request, RecordGridModel& grid, bool paint) {
    if (!lastResult_ || !(lastResult_->request == request)) {
        auto result = std::make_unique<Result>();
        result->request = request;
        search(request, grid, *result);
        lastResult_ = std::move(result);
    }
    if (paint)
        paintHighlights(*lastResult_);
    return lastResult_->outcome;
}

void SelectionRun::search(const SelectionRequest& request, RecordGridModel& grid, Result& result) {
    RunListing listing{grid, 0, {}};
    SelectionOutcome& outcome = result.outcome;
    for (const QString& code : request.periodCodes) {
        const QString name = layerCode(request.kind, code);
        auto layer = std::dynamic_pointer_cast<VectorLayer>(map_.layerNamed(name));
        if (!layer)
            continue;
        outcome.searched = true;
        outcome.title = request.graphical ? kGraphicalTitle : kSelectedRecords + request.expression;
        const CompanionLookup companion(request.kind, request.dataPath, code);

        QString error;
        RecordCursor found;
        if (request.graphical) {
            // Before any polygon is drawn there is nothing to search.
            if (request.polygon.isNull()) {
                layOutGrid(grid, request.kind);
                continue;
            }
            found = map_.searchShape(*layer, request.polygon, 9, QString(), &error);
        } else if (hasOwnRecords(request.kind)) {
            found = map_.searchExpression(*layer, request.expression, &error);
        }
        if (error.isEmpty()) {
            layOutGrid(grid, request.kind);
            if (hasOwnRecords(request.kind))
                listLayerRecords(found, request.kind, listing);
            else if (request.graphical)
                error = companion.listBySites(found, listing);
            else
                error = companion.listByExpression(*layer, siteIndexes_.of(*layer), request.expression, listing);
        } else {
            error = QStringLiteral("The search of layer %1 failed: %2").arg(name, error);
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
    for (const Shape& shape : result.highlights)
        map_.paintShape(shape, symbol);
}

}  // namespace quillfen
