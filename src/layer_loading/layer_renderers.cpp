#include "layer_loading/layer_renderers.h"

#include "catalogue/data_catalogue.h"
#include "catalogue/land_classes.h"
#include "catalogue/value_text.h"
#include "mapcontrol/map_control.h"

#include <algorithm>

namespace quillfen {
namespace {

using namespace mapcontrol;

std::shared_ptr<VectorLayer> vectorLayerNamed(MapControl& map, const QString& name) {
    return std::dynamic_pointer_cast<VectorLayer>(map.layerNamed(name));
}

/// Builds a value renderer on `field` with one class per row of `classes`. The class count is
/// the number of distinct values in the data, but never fewer than the table's rows, so that
/// every class of the table gets its colour whatever the data holds.
void renderLandClasses(MapControl& map, const QString& field, const QVector<LandClass>& classes) {
    auto layer = vectorLayerNamed(map, kLandCoverLayer);
    if (!layer)
        return;
    auto renderer = std::make_shared<ValueRenderer>();
    layer->renderer = renderer;

    StringSet values;
    for (RecordCursor records = layer->records(); !records.atEnd(); records.next())
        values.add(valueText(records.fieldValue(field)));

    renderer->field = field;
    renderer->symbolType = SymbolType::Fill;
    renderer->setValueCount(std::max(values.count(), int(classes.size())));
    for (int i = 0; i < classes.size(); ++i) {
        Symbol& symbol = renderer->symbol(i);
        symbol.type = SymbolType::Fill;
        symbol.outline = false;
        symbol.color = packColor(classes[i].red, classes[i].green, classes[i].blue);
        renderer->setValue(i, classes[i].value);
    }
}

} // namespace

void render_94lw(MapControl& map) {
    renderLandClasses(map, kLandCoverField, landWaterClasses());
}

void render_94lcu(MapControl& map) {
    renderLandClasses(map, kLandClassField, landCoverClasses());
}

void render_miles_text(MapControl& map, bool milesTicked) {
    if (!milesTicked)
        return;
    auto layer = vectorLayerNamed(map, kRiverMilesLayer);
    if (!layer)
        return;
    auto renderer = std::make_shared<TextRenderer>();
    renderer->field = kRiverMileField;
    renderer->font = QFont("arial", 12);
    layer->renderer = renderer;
}

} // namespace quillfen
