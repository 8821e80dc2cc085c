// How the layers are loaded and drawn: the stack order, each sample layer's marker, and the
// land/water and land cover/use renderers, checked against the data files read through GDAL.

#include "../support/main_window_harness.h"

#include "catalogue/land_classes.h"
#include "layers/layer_loader.h"
#include "catalogue/sample_schema.h"
#include "catalogue/sample_symbols.h"

#include <QApplication>
#include <QTest>

#include <ogrsf_frmts.h>

#include <memory>

using namespace quillfen;
using namespace testing;

namespace {

QString dataFolder() { return QCoreApplication::applicationDirPath() + "/data"; }

struct DatasetCloser {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};
using DatasetHandle = std::unique_ptr<GDALDataset, DatasetCloser>;

DatasetHandle openVector(const QString& name) {
    const QString path = dataFolder() + "/" + name + ".shp";
    return DatasetHandle(GDALDataset::FromHandle(
        GDALOpenEx(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
}

/// Zooms the map to the first polygon of kxlw whose `field` equals `value` and gives a point
/// well inside it, clear of its edges by a few pixels; false when none qualifies.
bool pointInsideClass(const char* field, int value, mapcontrol::MapControl& map, QPointF* point) {
    DatasetHandle data = openVector("kxlw");
    OGRLayer* layer = data->GetLayer(0);
    layer->SetAttributeFilter(QString("%1 = %2").arg(field).arg(value).toUtf8().constData());
    for (auto& feature : *layer) {
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (!geometry)
            continue;
        OGREnvelope envelope;
        geometry->getEnvelope(&envelope);
        map.setViewBounds(mapcontrol::Rect{envelope.MinX, envelope.MinY, envelope.MaxX, envelope.MaxY}.scaled(1.5));
        const double pixel = map.viewBounds().width() / map.width();
        std::unique_ptr<OGRGeometry> inner(geometry->Buffer(-4 * pixel));
        if (!inner || inner->IsEmpty())
            continue;
        OGRGeometryH surface = OGR_G_PointOnSurface(OGRGeometry::ToHandle(inner.get()));
        if (!surface)
            continue;
        *point = QPointF(OGR_G_GetX(surface, 0), OGR_G_GetY(surface, 0));
        OGR_G_DestroyGeometry(surface);
        return true;
    }
    return false;
}

QPointF firstPointOf(const QString& layerCode) {
    DatasetHandle data = openVector(layerCode);
    for (auto& feature : *data->GetLayer(0)) {
        if (const OGRGeometry* geometry = feature->GetGeometryRef())
            return QPointF(geometry->toPoint()->getX(), geometry->toPoint()->getY());
    }
    return {};
}

void zoomAround(mapcontrol::MapControl& map, QPointF centre, double halfWidth) {
    map.setViewBounds({centre.x() - halfWidth, centre.y() - halfWidth, centre.x() + halfWidth, centre.y() + halfWidth});
}

}  // namespace

class LayersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void symbolTableCoversEveryLayerOfTheCatalogue();
    void layersLoadInCatalogueOrderAboveTheKeptBottomLayer();
    void aMissingDataFolderLeavesTheBaseLayerOnlyAndIsReportedOnce();
    void sampleLayersDrawInTheirKindsAndSeasonsColours_data();
    void sampleLayersDrawInTheirKindsAndSeasonsColours();
    void landCoverClassesThreeSixAndEightShareOneRed();
    void landCoverClassFourHasNoClassColour();
    void rendererGivesEveryTableClassItsColour();
};

void LayersTest::initTestCase() {
    GDALAllRegister();
    QVERIFY2(openVector("kxlw"), "the demonstration data folder is missing");
}

void LayersTest::symbolTableCoversEveryLayerOfTheCatalogue() {
    for (SampleKind kind : allSampleKinds()) {
        for (const SamplingPeriod& p : samplingPeriods(kind))
            QVERIFY2(sampleSymbol(layerCode(kind, p.periodCode)), qPrintable(layerCode(kind, p.periodCode)));
    }
    // Fish fall layers of the first era are blue, water fall layers of that era green.
    QCOMPARE(sampleSymbol("kxf93fl")->packedColor(), mapcontrol::packColor(0, 0, 255));
    QCOMPARE(sampleSymbol("kxw93fl")->packedColor(), mapcontrol::packColor(0, 255, 0));
    QCOMPARE(sampleSymbol("kxw96fl")->style, mapcontrol::Cross);
    QCOMPARE(sampleSymbol("kxi01")->style, mapcontrol::Triangle);
    QCOMPARE(sampleSymbol("kxv00")->style, mapcontrol::Square);
    QVERIFY(!sampleSymbol("kx_out"));
}

void LayersTest::layersLoadInCatalogueOrderAboveTheKeptBottomLayer() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "Check30");
    clickBox(window, "chkStructures");
    clickBox(window, "Check_drg");
    clickBox(window, "chkwater_5");
    clickBox(window, "chkwater_0");
    QCOMPARE(stackBottomToTop(window.map()),
             QStringList({"kx_out", "kx_out", "kx_drg", "kxlw", "kxstruc", "kxmiles", "kxw93sm", "kxw94fl"}));
    QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join("; ")));
}

void LayersTest::aMissingDataFolderLeavesTheBaseLayerOnlyAndIsReportedOnce() {
    mapcontrol::MapControl map;
    map.resize(300, 300);
    QVector<DataProblem> problems;
    DrawLayerChoice choice;
    choice.landWater = choice.structures = true;
    choice.sampleLayers = {"kxw93sm"};
    set_draw_layers(map, dataFolder() + "/no such folder", choice, &problems);
    QCOMPARE(map.layerCount(), 0);
    QVERIFY(problems.first().file.endsWith("no such folder"));
    QVERIFY(problems.contains(DataProblem{"kxstruc.shp", "missing", true}));
    QVERIFY(problems.contains(DataProblem{"kxw93sm.shp", "missing", true}));
}

void LayersTest::sampleLayersDrawInTheirKindsAndSeasonsColours_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("water summer 1993 is red") << "chkwater_0" << "kxw93sm" << QColor(255, 0, 0);
    QTest::newRow("fish fall 1993 is blue") << "chkfish_1" << "kxf93fl" << QColor(0, 0, 255);
    QTest::newRow("vegetation 1999 is green") << "chkveg_1" << "kxv99" << QColor(0, 255, 0);
}

void LayersTest::sampleLayersDrawInTheirKindsAndSeasonsColours() {
    QFETCH(QString, box);
    QFETCH(QString, layer);
    QFETCH(QColor, colour);
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, box);
    const QPointF point = firstPointOf(layer);
    zoomAround(window.map(), point, 300);
    QVERIFY2(sameColor(mapColorAt(window.map(), point), colour),
             qPrintable(mapColorAt(window.map(), point).name()));
}

void LayersTest::landCoverClassesThreeSixAndEightShareOneRed() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "Check_landcover");
    for (int value : {3, 6, 8}) {
        QPointF point;
        QVERIFY2(pointInsideClass("class", value, window.map(), &point), qPrintable(QString::number(value)));
        QVERIFY2(sameColor(mapColorAt(window.map(), point), QColor(255, 0, 0)), qPrintable(QString::number(value)));
    }
}

void LayersTest::landCoverClassFourHasNoClassColour() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "Check_landcover");
    QPointF point;
    QVERIFY(pointInsideClass("class", 4, window.map(), &point));
    const QColor shown = mapColorAt(window.map(), point);
    for (const LandClass& c : landCoverClasses())
        QVERIFY2(!sameColor(shown, QColor(c.red, c.green, c.blue), 2), qPrintable(c.value));
}

void LayersTest::rendererGivesEveryTableClassItsColour() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "Check_landcover");
    auto layer = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(window.map().layerNamed("kxlw"));
    auto renderer = std::dynamic_pointer_cast<mapcontrol::ValueRenderer>(layer->renderer);
    QVERIFY(renderer);
    QCOMPARE(renderer->field, QString("class"));
    QVERIFY(renderer->valueCount() >= landCoverClasses().size());
    for (int i = 0; i < landCoverClasses().size(); ++i) {
        const LandClass& c = landCoverClasses()[i];
        QCOMPARE(renderer->value(i), c.value);
        QCOMPARE(renderer->symbol(i).color, mapcontrol::packColor(c.red, c.green, c.blue));
        QVERIFY(!renderer->symbol(i).outline);
    }
}

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    LayersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_layers.moc"
