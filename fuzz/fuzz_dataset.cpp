// Loads a mutated sample layer (.shp, .shx and .dbf cut from the input) beside a sound base
// layer, draws it, and searches it by polygon and by expression, as the main window would.
//
// Input: two 16-bit little-endian lengths (of the .shp and the .shx), then the .shp bytes, the
// .shx bytes, and the .dbf bytes to the end. Lengths beyond the input are cut to what is there.

#include "layer_loading/layer_loader.h"
#include "mapcontrol/map_control.h"
#include "tabledb/table_database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const QString kLayer = QStringLiteral("kxw93sm");

void writeFile(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
}

size_t lengthAt(const uint8_t* data) {
    return size_t(data[0]) | size_t(data[1]) << 8;
}

void exercise(mapcontrol::MapControl& map) {
    auto layer = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(map.layerNamed(kLayer));
    if (!layer)
        return;
    map.redrawAll();
    const mapcontrol::Rect view = map.viewBounds();
    const mapcontrol::Shape everything = mapcontrol::Shape::polygon(
        {{view.minX, view.minY}, {view.minX, view.maxY}, {view.maxX, view.maxY}, {view.maxX, view.minY}});
    for (mapcontrol::RecordCursor found :
         {map.searchShape(*layer, everything, 9, QString()),
          map.searchExpression(*layer, "dis_oxygen < 5 AND dis_oxygen <> -99")}) {
        for (; !found.atEnd(); found.next()) {
            map.paintShape(found.shape(), layer->symbol);
            found.fieldValue("barcode");
        }
    }
}

} // namespace

/// The one folder every input is written into: a folder per input would leave a table store
/// per input in the engine.
QTemporaryDir* folder = nullptr;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    static QTemporaryDir dir;
    folder = &dir;
    tabledb::Engine::instance().setNumericFields({"dis_oxygen"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const size_t shp = std::min(lengthAt(data), size - 4);
    const size_t shx = std::min(lengthAt(data + 2), size - 4 - shp);
    const uint8_t* bytes = data + 4;
    writeFile(folder->filePath(kLayer + ".shp"), bytes, shp);
    writeFile(folder->filePath(kLayer + ".shx"), bytes + shp, shx);
    writeFile(folder->filePath(kLayer + ".dbf"), bytes + shp + shx, size - 4 - shp - shx);

    mapcontrol::MapControl map;
    map.resize(200, 200);
    quillfen::DrawLayerChoice choice;
    choice.sampleLayers = {kLayer};
    quillfen::rebuildLayerStack(map, folder->path(), choice);
    exercise(map);
    return 0;
}
