#include "layer_loading/layer_loader.h"

#include "catalogue/data_catalogue.h"
#include "catalogue/sample_symbols.h"
#include "layer_loading/layer_renderers.h"
#include "mapcontrol/map_control.h"
#include "tabledb/data_file_names.h"

namespace quillfen {
namespace {

using namespace mapcontrol;

const PackedColor kWhite = packColor(255, 255, 255);
const PackedColor kStructureGrey = packColor(128, 128, 128);
const PackedColor kMileBlack = packColor(0, 0, 0);

/// The map's point symbol of a sample layer's marker.
Symbol mapSymbolOf(const SampleSymbol& sample) {
    static const PointStyle kStyleOfMarker[] = {Circle, Square, Triangle, Cross};
    Symbol symbol;
    symbol.type = SymbolType::Point;
    symbol.color = packColor(sample.red, sample.green, sample.blue);
    symbol.style = kStyleOfMarker[int(sample.marker)];
    return symbol;
}

class StackBuilder {
public:
    StackBuilder(MapControl& map, const QString& dataPath, QVector<DataProblem>* problems)
        : map_(map), dataPath_(dataPath), problems_(problems) {}

    /// A new layer over the named dataset, or nullptr (noted with the reason) when it cannot
    /// be read. Faults met while reading it are noted too.
    std::shared_ptr<VectorLayer> vectorLayer(const QString& dataset) {
        QString reason;
        DatasetPtr data = map_.findDataset(dataset, &reason);
        const QString file = dataset + QStringLiteral(".shp");
        if (!data) {
            note({file, reason, true});
            return nullptr;
        }
        for (const QString& problem : data->problems())
            note({file, problem, false});
        return std::make_shared<VectorLayer>(data);
    }

    void addRaster(const QString& fileName) {
        auto raster = std::make_shared<RasterLayer>();
        QString reason;
        const tabledb::DataFileMatch file = tabledb::matchDataFile(dataPath_, fileName);
        if (!raster->setFile(file.found() ? file.path : dataPath_ + "/" + fileName, &reason)) {
            note({fileName, reason, true});
            return;
        }
        map_.addLayer(raster);
    }

    bool folderOpens() {
        if (map_.openFolder(dataPath_))
            return true;
        note({dataPath_, QStringLiteral("not a folder that can be read"), true});
        return false;
    }

private:
    void note(const DataProblem& problem) {
        if (problems_ && !problems_->contains(problem))
            problems_->append(problem);
    }

    MapControl& map_;
    QString dataPath_;
    QVector<DataProblem>* problems_;
};

void stripStackToBottomLayer(MapControl& map) {
    if (map.layerCount() <= 1)
        return;
    const int layersAtStart = map.layerCount();
    for (int i = 0; i < layersAtStart && map.layerCount() > 1; ++i)
        map.removeLayer(0);
}

void addLandLayer(MapControl& map, StackBuilder& builder, void (*render)(MapControl&)) {
    if (auto layer = builder.vectorLayer(kLandCoverLayer)) {
        layer->symbol.outline = false;
        map.addLayer(layer);
        render(map);
    }
}

} // namespace

void rebuildLayerStack(MapControl& map, const QString& dataPath, const DrawLayerChoice& choice,
                       QVector<DataProblem>* problems) {
    StackBuilder builder(map, dataPath, problems);
    stripStackToBottomLayer(map);

    const bool folderOpen = builder.folderOpens();
    if (folderOpen) {
        if (auto base = builder.vectorLayer(kOutlineLayer)) {
            base->symbol.outline = false;
            base->visible = true;
            base->symbol.color = kWhite;
            map.addLayer(base);
        }
    }
    if (folderOpen && choice.quadrangle)
        builder.addRaster(kQuadrangleRaster);
    if (folderOpen && choice.landWater)
        addLandLayer(map, builder, render_94lw);
    if (folderOpen && choice.landCover)
        addLandLayer(map, builder, render_94lcu);
    if (choice.structures) {
        if (auto layer = builder.vectorLayer(kStructuresLayer)) {
            layer->symbol.color = kStructureGrey;
            layer->symbol.style = SolidLine;
            map.addLayer(layer);
        }
    }
    if (choice.riverMiles) {
        if (auto layer = builder.vectorLayer(kRiverMilesLayer)) {
            layer->symbol.color = kMileBlack;
            layer->symbol.style = Cross;
            map.addLayer(layer);
            render_miles_text(map, choice.riverMiles);
        }
    }
    for (const QString& code : choice.sampleLayers) {
        auto layer = builder.vectorLayer(code);
        if (!layer)
            continue;
        if (const SampleSymbol* symbol = sampleSymbol(code))
            layer->symbol = mapSymbolOf(*symbol);
        map.addLayer(layer);
    }
    map.redrawArea(map.viewBounds());
}

} // namespace quillfen
