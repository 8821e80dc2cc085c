#include "map_fixture.h"

#include "mapcontrol/view_transform.h"

using namespace mapcontrol;

namespace {
constexpr QPointF kCentre = MapFixture::kCentre;
const QColor kBlue(Qt::blue);
const QColor kGreen(0, 128, 0);
const QColor kWhite(Qt::white);
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
        f.addPointLayer(packColor(0, 0, 255))->symbol.style = style;
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(kCentre), kBlue);
        QVERIFY_COLOR(f.colorAt(kCentre, filledOffset), kBlue);
        QVERIFY_COLOR(f.colorAt(kCentre, emptyOffset), kWhite);
    }

    void polygonsFillWithOrWithoutOutlineAndNeighboursLeaveNoSeam() {
        MapFixture f;
        // Two triangles that split a rectangle along a slanted diagonal.
        testdata::writeShapes(f.folder(), "halves",
                              {"POLYGON ((100 100, 900 100, 900 700, 100 100))",
                               "POLYGON ((100 100, 900 700, 100 700, 100 100))"});
        f.open();
        auto layer = f.addVector("halves");
        layer->symbol.color = packColor(0, 128, 0);
        layer->symbol.outline = true;
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(QPointF(700, 200)), kGreen);
        // The one-pixel outline straddles the polygon's edge: half a pixel each side.
        QVERIFY(near(f.colorAt(QPointF(100, 400)), Qt::black, 70));
        QVERIFY_COLOR(f.colorAt(QPointF(50, 400)), kWhite);

        layer->symbol.outline = false;
        f.map.redrawAll();
        QVERIFY(!near(f.colorAt(QPointF(100, 400)), Qt::black, 100));
        for (int i = 1; i < 40; ++i)
            QVERIFY_COLOR(f.colorAt(QPointF(100 + i * 20, 100 + i * 15), {0, -1}), kGreen);

        // In a picture at twice the size the seam stays closed, by a hairline one pixel wide:
        // the pixel wholly outside the left edge (x = 100) is not painted green.
        const QString path = f.folder() + "/halves.bmp";
        QVERIFY(f.map.saveImage(1, path, 2.0));
        const QImage picture(path, "BMP");
        for (int i = 1; i < 40; ++i) {
            for (const QPoint offset : {QPoint(0, 0), QPoint(0, -1)})
                QVERIFY_COLOR(f.colorIn(picture, QPointF(100 + i * 20, 100 + i * 15), offset, 2.0), kGreen);
        }
        QVERIFY_COLOR(f.colorIn(picture, QPointF(100, 400), {}, 2.0), kGreen);
        QVERIFY(!near(f.colorIn(picture, QPointF(100, 400), {-1, 0}, 2.0), kGreen, 40));
    }

    void valueRendererColoursClassesAndLeavesUnmatchedFeaturesInTheLayerSymbol() {
        MapFixture f;
        testdata::writeShapes(f.folder(), "lw",
                              {"POLYGON ((0 0, 300 0, 300 300, 0 300, 0 0))",
                               "POLYGON ((400 0, 700 0, 700 300, 400 300, 400 0))",
                               "POLYGON ((0 400, 300 400, 300 700, 0 700, 0 400))"},
                              {{"lw", {1, 2, 4}}});
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
        QVERIFY_COLOR(f.colorAt(QPointF(150, 150)), kGreen);
        QVERIFY_COLOR(f.colorAt(QPointF(550, 150)), QColor(Qt::cyan));
        QVERIFY_COLOR(f.colorAt(QPointF(150, 550)), QColor(200, 0, 200));
    }

    void fieldTextWritesWholeNumbersWithoutADecimalPart() {
        const std::pair<QVariant, QString> cases[] = {{qlonglong(12), "12"},
                                                      {12.0, "12"},
                                                      {-99.0, "-99"},
                                                      {3.25, "3.25"},
                                                      {QString("kx 12"), "kx 12"},
                                                      {QVariant(QMetaType::fromType<QString>()), ""}};
        for (const auto& [value, text] : cases)
            QCOMPARE(fieldText(value), text);
    }

    void textRendererWritesDarkTextRightOfTheMarker() {
        MapFixture f;
        auto layer = f.addPointLayer(packColor(0, 0, 255));
        layer->symbol.style = Cross;
        f.showWholeView();
        auto countDark = [&](int fromX, int toX) {
            int dark = 0;
            for (int x = fromX; x < toX; ++x)
                for (int y = -10; y <= 10; ++y)
                    dark += f.colorAt(kCentre, {x, y}).lightness() < 80 ? 1 : 0;
            return dark;
        };
        QCOMPARE(countDark(5, 40), 0);
        auto text = std::make_shared<TextRenderer>();
        text->field = "mile";
        text->font = QFont("Liberation Sans", 12);
        layer->renderer = text;
        f.map.redrawAll();
        QVERIFY(countDark(5, 40) > 10);
        QVERIFY_COLOR(f.colorAt(kCentre), kBlue);
        QCOMPARE(countDark(-12, -8), 0);
    }

    void rasterCellsLandWhereTheirGeotransformPutsThem() {
        MapFixture f;
        // 4 x 4 cells of 250 units over the whole view: the row-major cell (column 1, row 2)
        // covers x 250..500, y 250..500.
        QVector<int> cells(16, 0);
        cells[2 * 4 + 1] = 2;
        cells[0] = 3;
        const QString path = f.folder() + "/sheet.tif";
        testdata::writePaletteRaster(path, 4, 4, cells, {Qt::red, Qt::green, Qt::blue, Qt::yellow},
                                     QPointF(0, 1000), 250);
        auto raster = std::make_shared<RasterLayer>();
        QVERIFY(raster->setFile(path));
        QCOMPARE(raster->extent(), MapFixture::kView);
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
        QCOMPARE(raster.read(MapFixture::kView, 5).image.size(), QSize(200, 200));
        const RasterLayer::Tile part = raster.read(Rect{100, 100, 200, 200}, 5);
        QCOMPARE(part.image.size(), QSize(20, 20));
        QCOMPARE(part.bounds, (Rect{100, 100, 200, 200}));
        const RasterLayer::Tile close = raster.read(Rect{100, 100, 110, 110}, 0.1);
        QCOMPARE(close.image.size(), QSize(4, 4));
        QVERIFY_COLOR(close.image.pixelColor(1, 1), QColor(Qt::green));
    }

    void position0IsDrawnOnTopAndLayerNamedFindsItFirst() {
        MapFixture f;
        auto bottom = f.addPointLayer(packColor(255, 0, 0));
        bottom->symbol.style = Square;
        bottom->symbol.size = 16;
        auto top = f.addPointLayer(packColor(0, 0, 255));
        QCOMPARE(f.map.layerCount(), 2);
        QCOMPARE(f.map.layer(0), LayerPtr(top));
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
        testdata::writeShapes(f.folder(), "area", {"POLYGON ((0 0, 100 0, 100 100, 0 100, 0 0))"});
        testdata::writeShapes(f.folder(), "far", {"POINT (-500 40)", "POINT (300 900)"});
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
        // Even a widget without size gets a usable view.
        const Rect unsized = ViewTransform::fit(Rect{5, 5, 5, 5}, QSize(0, 0));
        QVERIFY(!unsized.isEmpty() && unsized.center() == QPointF(5, 5));
    }

    void aResizeKeepsTheCentreAndTheScale() {
        MapFixture f;
        f.map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        f.showWholeView();
        f.map.resize(400, 100);
        QCOMPARE(f.map.viewBounds(), (Rect{-500, 250, 1500, 750}));
        QCOMPARE(f.map.image().size(), QSize(400, 100));
    }

    void notificationsSurroundEachVisibleLayerBottomFirstAndSlotsPaintOnTopOnScreenAndInSavedImages() {
        MapFixture f;
        f.addPointLayer(packColor(255, 0, 0));
        f.addPointLayer(0)->visible = false;
        f.addPointLayer(packColor(0, 0, 255));
        QStringList events;
        Symbol highlight;
        highlight.color = packColor(255, 255, 0);
        highlight.outline = false;
        QObject::connect(&f.map, &MapControl::layerDrawStarting,
                         [&](int i) { events << QString("start %1").arg(i); });
        QObject::connect(&f.map, &MapControl::layerDrawn, [&](int i) {
            events << QString("drawn %1").arg(i);
            // Painted after the bottom layer: the top layer covers it. After the top one: visible.
            f.map.paintShape(Shape::point(kCentre), highlight);
        });
        f.showWholeView();
        QCOMPARE(events, (QStringList{"start 2", "drawn 2", "start 0", "drawn 0"}));
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(Qt::yellow));
        events.clear();
        f.map.redrawArea(Rect{400, 400, 600, 600});
        QCOMPARE(events.size(), 4);

        // A saved image twice the widget's size, with the highlight (default size: 6 pixels
        // out) at that scale; or a reason why there is none.
        events.clear();
        const QString path = f.folder() + "/map1.bmp";
        QString error;
        QVERIFY2(f.map.saveImage(1, path, 2.0, &error), qPrintable(error));
        QCOMPARE(events.size(), 4);
        const QImage saved(path, "BMP");
        QCOMPARE(saved.size(), QSize(400, 400));
        QVERIFY_COLOR(f.colorIn(saved, kCentre, {}, 2.0), QColor(Qt::yellow));
        QVERIFY_COLOR(f.colorIn(saved, kCentre, {6, 0}, 2.0), QColor(Qt::yellow));
        QVERIFY_COLOR(f.colorIn(saved, QPointF(800, 800), {}, 2.0), kWhite);
        QVERIFY(!f.map.saveImage(1, f.folder() + "/no/such/folder/map1.bmp", 2.0, &error) &&
                !error.isEmpty());
        error.clear();
        QVERIFY(!f.map.saveImage(7, path, 2.0, &error) && !error.isEmpty());

        // Painted outside a redraw, a shape covers the map until the next redraw.
        Symbol fill;
        fill.type = SymbolType::Fill;
        fill.color = packColor(255, 0, 0);
        fill.outline = false;
        f.map.paintShape(Shape::polygon({{400, 400}, {600, 400}, {600, 600}, {400, 600}}), fill);
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(Qt::red));
        f.map.redrawAll();
        QVERIFY_COLOR(f.colorAt(kCentre), QColor(Qt::yellow));
    }

    void paintingFeaturesInOnePassGivesThePixelsOfPaintingEachShape_data() {
        QTest::addColumn<QStringList>("shapes");
        QTest::addColumn<QVector<int>>("features");
        // Markers whose centre lies just outside the view still show in part; those further out
        // and features without geometry show nothing; a repeated feature is painted twice.
        QTest::newRow("points inside, across the edges and outside")
            << QStringList{"MULTIPOINT ((500 500), (530 510))", "MULTIPOINT ((-12 300))", "MULTIPOINT ((700 1013))",
                           "MULTIPOINT ((-60 500))", "MULTIPOINT ((5000 5000))", QString()}
            << QVector<int>{0, 1, 2, 3, 4, 5, 1, -1, 6};
        QTest::newRow("polygons inside, across the edge and outside")
            << QStringList{"POLYGON ((400 400, 600 400, 600 600, 400 400))",
                           "POLYGON ((-50 -50, 100 -50, 100 100, -50 -50))",
                           "POLYGON ((1100 0, 1200 0, 1200 100, 1100 0))"}
            << QVector<int>{2, 0, 1};
    }
    void paintingFeaturesInOnePassGivesThePixelsOfPaintingEachShape() {
        QFETCH(QStringList, shapes);
        QFETCH(QVector<int>, features);
        MapFixture f;
        testdata::writeShapes(f.folder(), "hits", shapes);
        f.addPointLayer(packColor(0, 0, 255));
        const DatasetPtr hits = f.map.findDataset("hits");
        QVERIFY(hits);
        Symbol highlight;
        highlight.color = packColor(255, 255, 0);
        enum class Painting { None, ShapeByShape, OnePass } painting = Painting::None;
        QObject::connect(&f.map, &MapControl::layerDrawn, [&] {
            if (painting == Painting::OnePass)
                f.map.paintFeatures(*hits, features, highlight);
            if (painting == Painting::ShapeByShape) {
                for (int feature : features)
                    f.map.paintShape(hits->shape(feature), highlight);
            }
        });
        // The screen and a picture at twice the size, as drawn with each way of painting.
        auto draw = [&](Painting how) {
            painting = how;
            f.showWholeView();
            const QString path = f.folder() + "/map.bmp";
            return std::make_pair(f.map.image(), f.map.saveImage(1, path, 2.0) ? QImage(path, "BMP") : QImage());
        };
        const auto plain = draw(Painting::None);
        const auto shapeByShape = draw(Painting::ShapeByShape);
        QVERIFY(shapeByShape.first != plain.first && shapeByShape.second != plain.second);
        const auto onePass = draw(Painting::OnePass);
        QCOMPARE(onePass.first, shapeByShape.first);
        QCOMPARE(onePass.second, shapeByShape.second);
    }

    void datasetsAreReadOnceAndMissingOrCorruptFilesGiveNone() {
        MapFixture f;
        QVERIFY(!f.map.openFolder(f.folder() + "/missing"));
        const std::pair<const char*, QByteArray> corrupt[] = {
            {"/broken.shp", QByteArray(300, 'x')}, {"/broken.tif", QByteArray("II*\0garbage", 11)}};
        for (const auto& [name, bytes] : corrupt) {
            QFile file(f.folder() + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        f.addPointLayer(0);
        QVERIFY(!f.map.findDataset("nothere"));
        QVERIFY(!f.map.findDataset("broken"));
        RasterLayer raster;
        QVERIFY(!raster.setFile(f.folder() + "/broken.tif"));
        QVERIFY(!raster.setFile(f.folder() + "/missing.tif"));
        QVERIFY(raster.read(Rect{0, 0, 10, 10}, 1).image.isNull());

        const DatasetPtr first = f.map.findDataset("pt");
        QCOMPARE(first->featureCount(), 2);
        QCOMPARE(first->geometryKind(), Dataset::GeometryKind::Point);
        QCOMPARE(f.map.findDataset("PT"), first);
        // A rewritten file is read again.
        for (const char* extension : {".shp", ".shx", ".dbf"})
            QVERIFY(QFile::remove(f.folder() + "/pt" + extension));
        testdata::writeShapes(f.folder(), "pt", {"POINT (1 1)", "POINT (1 1)", "POINT (1 1)"});
        const DatasetPtr second = f.map.findDataset("pt");
        QVERIFY(second != first);
        QCOMPARE(second->featureCount(), 3);
    }

    void recordsWalkEveryFeatureWithItsShape() {
        MapFixture f;
        testdata::writeShapes(f.folder(), "pt", {"POINT (500 500)", QString(), "POINT (10 20)"},
                              {{"site", {"a", "b", "c"}}});
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
