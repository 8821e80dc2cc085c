#include "mapcontrol/map_layers.h"

namespace mapcontrol {

namespace {
Symbol defaultSymbolFor(Dataset::GeometryKind kind) {
    Symbol symbol;
    switch (kind) {
    case Dataset::GeometryKind::Line:
        symbol.type = SymbolType::Line;
        symbol.style = SolidLine;
        symbol.size = 1;
        break;
    case Dataset::GeometryKind::Polygon:
        symbol.type = SymbolType::Fill;
        // A pale neutral that no land cover class uses, so unclassified areas stand apart.
        symbol.color = packColor(230, 222, 200);
        break;
    case Dataset::GeometryKind::Point:
    case Dataset::GeometryKind::Unknown:
        symbol.type = SymbolType::Point;
        symbol.style = Circle;
        break;
    }
    return symbol;
}
} // namespace

VectorLayer::VectorLayer(DatasetPtr dataset) : dataset_(std::move(dataset)) {
    name_ = dataset_->name();
    symbol = defaultSymbolFor(dataset_->geometryKind());
}

RecordCursor VectorLayer::records() const {
    return RecordCursor(dataset_, dataset_->allRecords());
}

} // namespace mapcontrol
