#include "map_fixture.h"

#include <QFile>
#include <QSignalSpy>

using namespace mapcontrol;

namespace {
const QPointF kCentre(500, 500);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// A point layer "pt" with one point at the centre of the view and one in a corner.
void writeCentrePoint(const QString& folder, const QString& name = "pt") {
    testdata::writePoints(folder, name, {kCentre, QPointF(100, 100)},
                          {{"mile", {QVariant(12), QVariant(7)}}});
}
} // namespace

class TestMapDrawing : public QObject {
    Q_OBJECT
private slots:
    void eachMarkerStyleHasItsOwnOutline_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QPoint>("filledOffset");
        QTest::addColumn<QPoint>("emptyOffset");
        // The centre is the symbol's colour for every style; then one pixel inside and one
        // outside the style's outline tell the styles apart.
        QTest::newRow("circle leaves its bounding box corner empty")
            << int(Circle) << QPoint(2, 0) << QPoint(3, 3);
        QTest::newRow("square fills its corner") << int(Square) << QPoint(2, 2) << QPoint(6, 0);
        QTest::newRow("triangle fills its base, not its top corner")
            << int(Triangle) << QPoint(1, 2) << QPoint(-3, -3);
        QTest::newRow("cross has arms but no diagonal") << int(Cross) << QPoint(0, 3) << QPoint(2, 2);
    }
    void eachMarkerStyleHasItsOwnOutline() {
        QFETCH(int, style);
        QFETCH(QPoint, filledOffset);
        QFETCH(QPoint, emptyOffset);
        MapFixture f;
        writeCentrePoint(f.folder());
        f.open();
        auto layer = f.addVector("pt");
        QVERIFY(layer);
        layer->symbol.style = style;
        layer->symbol.color = packColor(0, 0, 255);
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(kCentre), kBlue);
        QVERIFY_COLOR(f.colorAt(kCentre, filledOffset), kBlue);
        QVERIFY_COLOR(f.colorAt(kCentre, emptyOffset), kWhite);
        QVERIFY_COLOR(f.colorAt(kCentre, {20, 20}), kWhite);
    }

    void polygonsFillWithOrWithoutOutline() {
        MapFixture f;
        testdata::writePolygons(f.folder(), "area", {{{200, 200}, {800, 200}, {800, 800}, {200, 800}}});
        f.open();
        auto layer = f.addVector("area");
        layer->symbol.color = packColor(0, 128, 0);
        layer->symbol.outline = true;
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(0, 128, 0));
        // The one-pixel outline straddles the polygon's edge: half a pixel each side.
        QVERIFY(near(f.colorAt(QPointF(200, 500)), kBlack, 70));
        QVERIFY_COLOR(f.colorAt(QPointF(100, 500)), kWhite);

        layer->symbol.outline = false;
        f.map.redrawAll();
        QVERIFY(!near(f.colorAt(QPointF(200, 500)), kBlack, 100));
    }

    void polygonsSharingAnEdgeLeaveNoSeamBetweenThem() {
        MapFixture f;
        // Two triangles that split a square along a slanted diagonal.
        testdata::writePolygons(f.folder(), "halves",
                                {{{100, 100}, {900, 100}, {900, 700}}, {{100, 100}, {900, 700}, {100, 700}}});
        f.open();
        auto layer = f.addVector("halves");
        layer->symbol.color = packColor(0, 128, 0);
        layer->symbol.outline = false;
        f.showWholeView();
        for (int i = 1; i < 40; ++i)
            QVERIFY_COLOR(f.colorAt(QPointF(100 + i * 20, 100 + i * 15), {0, -1}), QColor(0, 128, 0));
    }

    void valueRendererColoursClassesAndLeavesUnmatchedFeaturesInTheLayerSymbol() {
        MapFixture f;
        testdata::writePolygons(f.folder(), "lw",
                                {{{0, 0}, {300, 0}, {300, 300}, {0, 300}},
                                 {{400, 0}, {700, 0}, {700, 300}, {400, 300}},
                                 {{0, 400}, {300, 400}, {300, 700}, {0, 700}}},
                                {{"lw", {QVariant(1), QVariant(2), QVariant(4)}}});
        f.open();
        auto layer = f.addVector("lw");
        layer->symbol.color = packColor(200, 0, 200);
        auto renderer = std::make_shared<ValueRenderer>();
        renderer->field = "lw";
        renderer->setValueCount(3);
        renderer->setValue(0, "1");
        renderer->symbol(0).color = packColor(0, 128, 0);
        renderer->setValue(1, "2");
        renderer->symbol(1).color = packColor(0, 255, 255);
        // The third class never gets a value and must not catch anything.
        renderer->symbol(2).color = packColor(255, 0, 0);
        layer->renderer = renderer;
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(QPointF(150, 150)), QColor(0, 128, 0));
        QVERIFY_COLOR(f.colorAt(QPointF(550, 150)), QColor(0, 255, 255));
        QVERIFY_COLOR(f.colorAt(QPointF(150, 550)), QColor(200, 0, 200));
    }

    void fieldTextWritesWholeNumbersWithoutADecimalPart_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << QVariant(qlonglong(12)) << "12";
        QTest::newRow("whole real") << QVariant(12.0) << "12";
        QTest::newRow("negative whole real") << QVariant(-99.0) << "-99";
        QTest::newRow("fractional real") << QVariant(3.25) << "3.25";
        QTest::newRow("text") << QVariant(QString("kx 12")) << "kx 12";
        QTest::newRow("null") << QVariant(QMetaType::fromType<QString>()) << "";
    }
    void fieldTextWritesWholeNumbersWithoutADecimalPart() {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(fieldText(value), text);
    }

    void textRendererWritesDarkTextRightOfTheMarker() {
        MapFixture f;
        writeCentrePoint(f.folder());
        f.open();
        auto layer = f.addVector("pt");
        layer->symbol.style = Cross;
        layer->symbol.color = packColor(0, 0, 255);
        f.showWholeView();
        auto countDark = [&] {
            int dark = 0;
            for (int x = 5; x < 40; ++x)
                for (int y = -10; y <= 10; ++y)
                    dark += f.colorAt(kCentre, {x, y}).lightness() < 80 ? 1 : 0;
            return dark;
        };
        QCOMPARE(countDark(), 0);
        auto text = std::make_shared<TextRenderer>();
        text->field = "mile";
        text->font = QFont("Liberation Sans", 12);
        layer->renderer = text;
        f.map.redrawAll();
        QVERIFY(countDark() > 10);
        QVERIFY_COLOR(f.colorAt(kCentre), kBlue);
        for (int y = -10; y <= 10; ++y)
            QVERIFY(f.colorAt(kCentre, {-10, y}).lightness() > 200);
    }

    void rasterCellsLandWhereTheirGeotransformPutsThem() {
        MapFixture f;
        const QVector<QColor> palette{Qt::red, Qt::green, Qt::blue, Qt::yellow};
        // 4 x 4 cells of 250 units over the whole view: the row-major cell (column 1, row 2)
        // covers x 250..500, y 250..500.
        QVector<int> cells(16, 0);
        cells[2 * 4 + 1] = 2;
        cells[0] = 3;
        const QString path = f.folder() + "/sheet.tif";
        testdata::writePaletteRaster(path, 4, 4, cells, palette, QPointF(0, 1000), 250);
        auto raster = std::make_shared<RasterLayer>();
        QVERIFY(raster->setFile(path));
        QCOMPARE(raster->extent(), (Rect{0, 0, 1000, 1000}));
        f.map.addLayer(raster);
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(QPointF(375, 375)), kBlue);
        QVERIFY_COLOR(f.colorAt(QPointF(125, 875)), QColor(Qt::yellow));
        QVERIFY_COLOR(f.colorAt(QPointF(625, 375)), QColor(Qt::red));

        f.map.setViewBounds(Rect{300, 300, 400, 400});
        QVERIFY_COLOR(f.colorAt(QPointF(350, 350)), kBlue);
        QVERIFY_COLOR(f.colorAt(QPointF(390, 310), {-1, -1}), kBlue);
    }

    void aRasterIsReadOnlyOverTheViewAndAtTheViewsResolution() {
        MapFixture f;
        // 400 x 400 cells of 2.5 units: the whole raster at 5 units a pixel needs 200 x 200.
        const QString path = f.folder() + "/fine.tif";
        testdata::writePaletteRaster(path, 400, 400, QVector<int>(400 * 400, 1), {Qt::red, Qt::green},
                                     QPointF(0, 1000), 2.5);
        RasterLayer raster;
        QVERIFY(raster.setFile(path));
        const RasterLayer::Tile whole = raster.read(Rect{0, 0, 1000, 1000}, 5);
        QCOMPARE(whole.image.size(), QSize(200, 200));
        const RasterLayer::Tile part = raster.read(Rect{100, 100, 200, 200}, 5);
        QCOMPARE(part.image.size(), QSize(20, 20));
        QCOMPARE(part.bounds, (Rect{100, 100, 200, 200}));
        const RasterLayer::Tile close = raster.read(Rect{100, 100, 110, 110}, 0.1);
        QCOMPARE(close.image.size(), QSize(4, 4));
        QVERIFY_COLOR(close.image.pixelColor(1, 1), QColor(Qt::green));
    }

    void anUnreadableRasterDrawsNothing() {
        MapFixture f;
        const QString path = f.folder() + "/broken.tif";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("II*\0garbage", 11);
        file.close();
        RasterLayer raster;
        QVERIFY(!raster.setFile(path));
        QVERIFY(!raster.setFile(f.folder() + "/missing.tif"));
        QVERIFY(raster.read(Rect{0, 0, 10, 10}, 1).image.isNull());
    }

    void position0IsDrawnOnTopAndLayerNamedFindsItFirst() {
        MapFixture f;
        writeCentrePoint(f.folder());
        f.open();
        auto bottom = f.addVector("pt");
        bottom->symbol.color = packColor(255, 0, 0);
        bottom->symbol.style = Square;
        bottom->symbol.size = 16;
        auto top = f.addVector("pt");
        top->symbol.color = packColor(0, 0, 255);
        QCOMPARE(f.map.layerCount(), 2);
        QCOMPARE(f.map.layer(0), LayerPtr(top));
        QCOMPARE(f.map.layerNamed("pt"), LayerPtr(top));
        QCOMPARE(f.map.layerNamed("PT"), LayerPtr(top));
        QVERIFY(!f.map.layerNamed("other"));
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(kCentre), kBlue);
        QVERIFY_COLOR(f.colorAt(kCentre, {5, 5}), QColor(Qt::red));

        f.map.removeLayer(0);
        f.map.removeLayer(5);
        QCOMPARE(f.map.layerNamed("pt"), LayerPtr(bottom));
        f.map.redrawAll();
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(Qt::red));
    }

    void theFirstLayerSetsTheViewAndTheViewKeepsTheWidgetsAspect() {
        MapFixture f;
        f.map.resize(200, 100);
        testdata::writePolygons(f.folder(), "area", {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}});
        testdata::writePoints(f.folder(), "far", {QPointF(-500, 40), QPointF(300, 900)});
        f.open();
        f.addVector("area");
        QCOMPARE(f.map.viewBounds(), (Rect{-50, 0, 150, 100}));
        f.addVector("far");
        QCOMPARE(f.map.viewBounds(), (Rect{-50, 0, 150, 100}));
        QCOMPARE(f.map.wholeBounds(), (Rect{-500, 0, 300, 900}));
        f.map.setViewBounds(Rect{0, 0, 400, 100});
        QCOMPARE(f.map.viewBounds(), (Rect{0, -50, 400, 150}));
        QCOMPARE(f.map.viewBounds().scaled(1.25), (Rect{-50, -75, 450, 175}));
        // A rectangle without size (a click with the zoom tool) moves the centre only.
        f.map.setViewBounds(Rect{1000, 1000, 1000, 1000});
        QCOMPARE(f.map.viewBounds(), (Rect{800, 900, 1200, 1100}));
    }

    void aResizeKeepsTheCentreAndTheScale() {
        MapFixture f;
        f.map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        f.map.setViewBounds(Rect{0, 0, 1000, 1000});
        f.map.resize(400, 100);
        QCOMPARE(f.map.viewBounds(), (Rect{-500, 250, 1500, 750}));
        QCOMPARE(f.map.image().size(), QSize(400, 100));
    }

    void notificationsSurroundEachVisibleLayerBottomFirstAndSlotsPaintOnTop() {
        MapFixture f;
        writeCentrePoint(f.folder());
        f.open();
        auto bottom = f.addVector("pt");
        bottom->symbol.color = packColor(255, 0, 0);
        auto hidden = f.addVector("pt");
        hidden->visible = false;
        auto top = f.addVector("pt");
        top->symbol.color = packColor(0, 0, 255);
        QStringList events;
        Symbol highlight;
        highlight.color = packColor(255, 255, 0);
        QObject::connect(&f.map, &MapControl::layerDrawStarting,
                         [&](int i) { events << QString("start %1").arg(i); });
        QObject::connect(&f.map, &MapControl::layerDrawn, [&](int i) {
            events << QString("drawn %1").arg(i);
            // Painted after the bottom layer: the top layer covers it. After the top one: visible.
            if (i == 2 || i == 0)
                f.map.paintShape(Shape::point(kCentre), highlight);
        });
        f.showWholeView();
        QCOMPARE(events, (QStringList{"start 2", "drawn 2", "start 0", "drawn 0"}));
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(Qt::yellow));

        events.clear();
        f.map.redrawArea(Rect{400, 400, 600, 600});
        QCOMPARE(events.size(), 4);
    }

    void paintShapeOutsideARedrawPaintsOverTheMapUntilTheNextRedraw() {
        MapFixture f;
        writeCentrePoint(f.folder());
        f.open();
        f.addVector("pt")->symbol.color = packColor(0, 0, 255);
        f.showWholeView();
        Symbol fill;
        fill.type = SymbolType::Fill;
        fill.color = packColor(255, 0, 0);
        fill.outline = false;
        f.map.paintShape(Shape::polygon({{400, 400}, {600, 400}, {600, 600}, {400, 600}}), fill);
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(Qt::red));
        f.map.redrawAll();
        QVERIFY_COLOR(f.colorAt(kCentre), kBlue);
    }

    void saveImageWritesATwiceAsLargeBitmapWithHighlightsAtThatScale() {
        MapFixture f;
        writeCentrePoint(f.folder());
        f.open();
        f.addVector("pt")->symbol.color = packColor(0, 0, 255);
        f.showWholeView();
        Symbol highlight;
        highlight.color = packColor(255, 255, 0);
        highlight.outline = false;
        QObject::connect(&f.map, &MapControl::layerDrawn,
                         [&](int) { f.map.paintShape(Shape::point(kCentre), highlight); });
        QSignalSpy drawn(&f.map, &MapControl::layerDrawn);
        const QString path = f.folder() + "/map1.bmp";
        QString error;
        QVERIFY2(f.map.saveImage(1, path, 2.0, &error), qPrintable(error));
        QCOMPARE(drawn.count(), 1);
        const QImage saved(path, "BMP");
        QCOMPARE(saved.size(), QSize(400, 400));
        QVERIFY_COLOR(f.colorIn(saved, kCentre, {0, 0}, 2.0), QColor(Qt::yellow));
        // A highlight of the default size drawn at twice the scale reaches 6 pixels out.
        QVERIFY_COLOR(f.colorIn(saved, kCentre, {6, 0}, 2.0), QColor(Qt::yellow));
        QVERIFY_COLOR(f.colorIn(saved, QPointF(800, 800), {0, 0}, 2.0), kWhite);

        QVERIFY(!f.map.saveImage(1, f.folder() + "/no/such/folder/map1.bmp", 2.0, &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!f.map.saveImage(7, path, 2.0, &error));
        QVERIFY(!error.isEmpty());
    }

    void datasetsAreReadOnceAndMissingOrCorruptFilesGiveNone() {
        MapFixture f;
        QVERIFY(!f.map.openFolder(f.folder() + "/missing"));
        writeCentrePoint(f.folder());
        QFile corrupt(f.folder() + "/broken.shp");
        QVERIFY(corrupt.open(QIODevice::WriteOnly));
        corrupt.write(QByteArray(300, 'x'));
        corrupt.close();
        f.open();
        QVERIFY(!f.map.findDataset("nothere"));
        QVERIFY(!f.map.findDataset("broken"));
        const DatasetPtr first = f.map.findDataset("pt");
        QVERIFY(first);
        QCOMPARE(first->featureCount(), 2);
        QCOMPARE(first->geometryKind(), Dataset::GeometryKind::Point);
        QCOMPARE(f.map.findDataset("pt"), first);
        QCOMPARE(f.map.findDataset("PT"), first);
        // A rewritten file is read again.
        for (const char* extension : {".shp", ".shx", ".dbf"})
            QVERIFY(QFile::remove(f.folder() + "/pt" + extension));
        testdata::writePoints(f.folder(), "pt", {kCentre, kCentre, kCentre});
        const DatasetPtr second = f.map.findDataset("pt");
        QVERIFY(second != first);
        QCOMPARE(second->featureCount(), 3);
    }

    void recordsWalkEveryFeatureWithItsShape() {
        MapFixture f;
        const double none = std::nan("");
        testdata::writePoints(f.folder(), "pt", {kCentre, QPointF(none, none), QPointF(10, 20)},
                              {{"site", {QString("a"), QString("b"), QString("c")}}});
        f.open();
        auto layer = f.addVector("pt");
        RecordCursor records = layer->records();
        QCOMPARE(records.count(), 3);
        QStringList sites;
        QVector<bool> shapes;
        for (records.first(); !records.atEnd(); records.next()) {
            sites << records.fieldValue("site").toString();
            shapes << !records.shape().isNull();
        }
        QCOMPARE(sites, (QStringList{"a", "b", "c"}));
        QCOMPARE(shapes, (QVector<bool>{true, false, true}));
        QCOMPARE(layer->dataset()->extent(), (Rect{10, 20, 500, 500}));
    }
};

int runMapDrawingTests(int argc, char** argv) {
    TestMapDrawing tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_map_drawing.moc"
