// How the layers are loaded and drawn: a missing data folder, the sample symbols, a sample
// layer above the base layers and the land cover renderer, checked against the data files read
// through GDAL. (The stack order the layer boxes give is checked with the boxes.)

#include "../support/main_window_harness.h"
#include "support/test_main.h"

#include "catalogue/land_classes.h"
#include "catalogue/sample_schema.h"
#include "catalogue/sample_symbols.h"
#include "layer_loading/layer_loader.h"

#include <QTest>

#include <ogrsf_frmts.h>

#include <memory>

using namespace quillfen;
using namespace testing;

namespace {

QString dataFolder() {
    return QCoreApplication::applicationDirPath() + "/data";
}

GDALDatasetUniquePtr openVector(const QString& name) {
    const QString path = dataFolder() + "/" + name + ".shp";
    return GDALDatasetUniquePtr(
        GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

/// Zooms the map to the first polygon of kxlw of land cover class `value` and gives a point
/// well inside it, clear of its edges by a few pixels; false when none qualifies.
bool pointInsideClass(int value, mapcontrol::MapControl& map, QPointF* point) {
    const GDALDatasetUniquePtr data = openVector("kxlw");
    OGRLayer* layer = data->GetLayer(0);
    layer->SetAttributeFilter(QString("class = %1").arg(value).toUtf8().constData());
    for (auto& feature : *layer) {
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (!geometry)
            continue;
        OGREnvelope envelope;
        geometry->getEnvelope(&envelope);
        map.setViewBounds(
            mapcontrol::Rect{envelope.MinX, envelope.MinY, envelope.MaxX, envelope.MaxY}.scaled(1.5));
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
    const GDALDatasetUniquePtr data = openVector(layerCode);
    for (auto& feature : *data->GetLayer(0)) {
        if (const OGRGeometry* geometry = feature->GetGeometryRef())
            return QPointF(geometry->toPoint()->getX(), geometry->toPoint()->getY());
    }
    return {};
}

} // namespace

class LayersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        GDALAllRegister();
        QVERIFY2(openVector("kxlw"), "the demonstration data folder is missing");
    }

    void symbolTableCoversEveryLayerOfTheCatalogue() {
        for (SampleKind kind : allSampleKinds()) {
            for (const SamplingPeriod& p : samplingPeriods(kind))
                QVERIFY2(sampleSymbol(layerCode(kind, p.periodCode)),
                         qPrintable(layerCode(kind, p.periodCode)));
        }
        QVERIFY(!sampleSymbol("kx_out"));
    }

    void aMissingDataFolderLeavesTheBaseLayerOnlyAndIsReportedOnce() {
        mapcontrol::MapControl map;
        map.resize(300, 300);
        QVector<DataProblem> problems;
        DrawLayerChoice choice;
        choice.landWater = choice.structures = true;
        choice.sampleLayers = {"kxw93sm"};
        rebuildLayerStack(map, dataFolder() + "/no such folder", choice, &problems);
        QCOMPARE(map.layerCount(), 0);
        QVERIFY(problems.first().file.endsWith("no such folder"));
        QVERIFY(problems.contains(DataProblem{"kxstruc.shp", "missing", true}));
        QVERIFY(problems.contains(DataProblem{"kxw93sm.shp", "missing", true}));
    }

    void aSampleLayerDrawsInItsColourAboveTheBaseLayers() {
        ScriptedPrompts prompts;
        MainWindow window;
        clickBox(window, "chkwater_0");
        const QPointF point = firstPointOf("kxw93sm");
        window.map().setViewBounds({point.x() - 300, point.y() - 300, point.x() + 300, point.y() + 300});
        QVERIFY2(sameColor(mapColorAt(window.map(), point), QColor(255, 0, 0)),
                 qPrintable(mapColorAt(window.map(), point).name()));
    }

    void landCoverClassesDrawWithoutOutlinesThreeSixAndEightInOneRedAndFourInNoClassColour() {
        ScriptedPrompts prompts;
        MainWindow window;
        clickBox(window, "Check_landcover");
        auto layer = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(window.map().layerNamed("kxlw"));
        auto renderer = std::dynamic_pointer_cast<mapcontrol::ValueRenderer>(layer->renderer);
        QVERIFY(renderer);
        for (int i = 0; i < landCoverClasses().size(); ++i)
            QVERIFY(!renderer->symbol(i).outline);
        for (int value : {3, 6, 8, 4}) {
            QPointF point;
            QVERIFY2(pointInsideClass(value, window.map(), &point), qPrintable(QString::number(value)));
            const QColor shown = mapColorAt(window.map(), point);
            if (value != 4) {
                QVERIFY2(sameColor(shown, QColor(255, 0, 0)), qPrintable(QString::number(value)));
                continue;
            }
            for (const LandClass& c : landCoverClasses())
                QVERIFY2(!sameColor(shown, QColor(c.red, c.green, c.blue), 2), qPrintable(c.value));
        }
    }
};

QUILLFEN_TEST(LayersTest)

#include "test_layer_loading.moc"
