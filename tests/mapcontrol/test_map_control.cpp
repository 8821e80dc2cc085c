// The map control on small datasets written with GDAL: markers, fills, renderers and rasters
// where their coordinates put them, the layer stack and its notifications, the mouse tools,
// and searches by expression and by shape against a brute-force search.

#include "test_data.h"

#include "mapcontrol/map_control.h"
#include "mapcontrol/view_transform.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPolygonF>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

using namespace mapcontrol;

namespace {

/// A map control of 200 x 200 pixels over a temporary data folder. Tests write their
/// datasets into folder() and show the view (0, 0)-(1000, 1000), so that one pixel is five
/// map units and map point (x, y) lies at pixel (x / 5, 200 - y / 5).
struct MapFixture {
    static constexpr Rect kView{0, 0, 1000, 1000};
    static constexpr QPointF kCentre{500, 500};

    QTemporaryDir dir;
    MapControl map;

    MapFixture() {
        map.resize(200, 200);
        QVERIFY(dir.isValid());
    }
    QString folder() const { return dir.path(); }
    void open() { QVERIFY(map.openFolder(folder())); }
    void showWholeView() { map.setViewBounds(kView); }

    std::shared_ptr<VectorLayer> addVector(const QString& name) {
        const DatasetPtr dataset = map.findDataset(name);
        if (!dataset)
            return nullptr;
        auto layer = std::make_shared<VectorLayer>(dataset);
        map.addLayer(layer);
        return layer;
    }
    /// Adds a layer of "pt" in `color`: one point at the view's centre and one near its
    /// lower-left corner, with a "mile" field. Writes the dataset on first use.
    std::shared_ptr<VectorLayer> addPointLayer(PackedColor color) {
        if (!QFile::exists(dir.filePath("pt.shp"))) {
            testdata::writeShapes(folder(), "pt", {"POINT (500 500)", "POINT (100 100)"},
                                  {{"mile", {12, 7}}});
            open();
        }
        auto layer = addVector("pt");
        layer->symbol.color = color;
        return layer;
    }

    /// The colour of the pixel whose top-left corner is at the map point's position, plus an
    /// offset in pixels, in the back buffer or in an image `scale` times its size.
    QColor colorAt(QPointF mapPoint, QPoint offset = {}) const {
        return colorIn(map.image(), mapPoint, offset);
    }
    QColor colorIn(const QImage& image, QPointF mapPoint, QPoint offset = {}, double scale = 1) const {
        const QPointF pixel = map.mapToScreen(mapPoint) * scale;
        return image.pixelColor(int(std::floor(pixel.x())) + offset.x(),
                                int(std::floor(pixel.y())) + offset.y());
    }
};

/// Colours compared with a little tolerance for antialiasing.
bool near(const QColor& a, const QColor& b, int tolerance = 8) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

#define QVERIFY_COLOR(actual, expected)                                                                      \
    QVERIFY2(                                                                                                \
        near(actual, expected),                                                                              \
        qPrintable(QStringLiteral("got %1, expected %2").arg((actual).name(), QColor(expected).name())))

constexpr QPointF kCentre = MapFixture::kCentre;
const QColor kBlue(Qt::blue);
const QColor kGreen(0, 128, 0);
const QColor kWhite(Qt::white);
// Moves without a button go straight to the widget: there is no real pointer to move.
void hover(QWidget& widget, QPoint position) {
    QMouseEvent move(QEvent::MouseMove, position, widget.mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void click(QWidget& widget, QPoint position) {
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, position);
}

struct ShownMap : MapFixture {
    ShownMap() {
        addPointLayer(packColor(0, 0, 255));
        map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&map));
        showWholeView();
    }
};
// A 20 x 20 grid of points at half-unit offsets (never on a polygon edge), with a numeric
// field and a text field.
struct GridMap : MapFixture {
    QVector<QPointF> points;
    QVector<QVariant> depth, site;
    std::shared_ptr<VectorLayer> layer;

    GridMap() {
        QStringList shapes;
        for (int i = 0; i < 400; ++i) {
            points.append(QPointF(25 + 50 * (i % 20) + 0.5, 25 + 50 * (i / 20) + 0.5));
            shapes.append(QString("POINT (%1 %2)").arg(points.last().x()).arg(points.last().y()));
            depth.append(i % 7);
            site.append(QString("s%1").arg(i % 13));
        }
        testdata::writeShapes(folder(), "grid", shapes, {{"depth", depth}, {"site", site}});
        open();
        layer = addVector("grid");
    }

    /// The features that pass `test`, found by looking at every one.
    QVector<int> bruteForce(const std::function<bool(int)>& test) const {
        QVector<int> result;
        for (int i = 0; i < points.size(); ++i)
            if (test(i))
                result.append(i);
        return result;
    }
};

QVector<int> features(RecordCursor cursor) {
    QVector<int> result;
    for (cursor.first(); !cursor.atEnd(); cursor.next())
        result.append(cursor.featureIndex());
    std::sort(result.begin(), result.end());
    return result;
}
} // namespace

class TestMapControl : public QObject {
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
        // The label begins right of the marker: nothing dark left of its right edge.
        QCOMPARE(countDark(-12, 4), 0);
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

    void theFirstLayerSetsTheViewAndTheViewKeepsTheWidgetsAspectAndScale() {
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
        // A rectangle without size (a click with the zoom tool) moves the centre only.
        f.map.setViewBounds(Rect{1000, 1000, 1000, 1000});
        QCOMPARE(f.map.viewBounds(), (Rect{800, 900, 1200, 1100}));
        // Even a widget without size gets a usable view.
        const Rect unsized = ViewTransform::fit(Rect{5, 5, 5, 5}, QSize(0, 0));
        QVERIFY(!unsized.isEmpty() && unsized.center() == QPointF(5, 5));
        // A resize keeps the centre and the scale.
        f.map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        f.map.setViewBounds(Rect{0, 0, 1000, 500});
        f.map.resize(400, 100);
        QCOMPARE(f.map.viewBounds(), (Rect{-500, 0, 1500, 500}));
        QCOMPARE(f.map.image().size(), QSize(400, 100));
    }

    void notificationsSurroundEachVisibleLayerBottomFirstAndSlotsPaintOnTop() {
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
        // The saved picture's highlights at its scale are checked through the window's export.
        auto draw = [&](Painting how) {
            painting = how;
            f.showWholeView();
            return f.map.image();
        };
        const QImage plain = draw(Painting::None);
        const QImage shapeByShape = draw(Painting::ShapeByShape);
        QVERIFY(shapeByShape != plain);
        QCOMPARE(draw(Painting::OnePass), shapeByShape);
    }

    void datasetsAreReadOnceMissingFilesGiveNoneAndRecordsWalkEveryFeature() {
        MapFixture f;
        // Corrupt layer and sheet files are refused, with their reasons, in the broken-data tests.
        QVERIFY(!f.map.openFolder(f.folder() + "/missing"));
        f.addPointLayer(0);
        QVERIFY(!f.map.findDataset("nothere"));

        const DatasetPtr first = f.map.findDataset("pt");
        QCOMPARE(first->featureCount(), 2);
        QCOMPARE(first->geometryKind(), Dataset::GeometryKind::Point);
        QCOMPARE(f.map.findDataset("PT"), first);
        // A rewritten file is read again; its records walk every feature, shaped or not.
        for (const char* extension : {".shp", ".shx", ".dbf"})
            QVERIFY(QFile::remove(f.folder() + "/pt" + extension));
        testdata::writeShapes(f.folder(), "pt", {"POINT (500 500)", QString(), "POINT (10 20)"}, {{"site", {"a", "b", "c"}}});
        auto layer = f.addVector("pt");
        QVERIFY(layer->dataset() != first);
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
    void mouseDownAndMoveReportButtonModifiersAndPositionThatMapPointsConvertBothWays() {
        ShownMap f;
        QStringList events; // kind, buttons, modifiers, position
        const auto log = [&events](const char* kind) {
            return [&events, kind](auto buttons, Qt::KeyboardModifiers modifiers, QPoint p) {
                events << QString("%1 %2 %3 %4,%5").arg(kind).arg(int(buttons)).arg(modifiers).arg(p.x()).arg(p.y());
            };
        };
        QObject::connect(&f.map, &MapControl::mapMouseDown, log("down"));
        QObject::connect(&f.map, &MapControl::mapMouseMove, log("move"));
        QTest::mousePress(&f.map, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 20));
        QTest::mouseRelease(&f.map, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 20));
        hover(f.map, QPoint(50, 60));
        QCOMPARE(events, (QStringList{QString("down %1 %2 10,20").arg(int(Qt::RightButton)).arg(int(Qt::ShiftModifier)),
                                      "move 0 0 50,60"}));
        QCOMPARE(f.map.screenToMap(QPointF(50, 60)), QPointF(250, 700));
        // Round trips at the size of projected coordinates lose nothing visible.
        f.map.setViewBounds(Rect{643210.5, 4912345.25, 651000, 4920000});
        for (int i = 0; i < 50; ++i) {
            const QPointF pixel(i * 3.9, 190 - i * 3.7);
            const QPointF back = f.map.mapToScreen(f.map.screenToMap(pixel));
            QVERIFY(std::abs(back.x() - pixel.x()) < 1e-6 && std::abs(back.y() - pixel.y()) < 1e-6);
        }
    }

    void dragPolygonAddsAVertexPerClickShowsARubberBandAndEndsAtTheDoubleClick() {
        ShownMap f;
        QVector<Shape> results;
        // Like the program's mouse-down handler, ask for a polygon at every press: the polygon
        // already being drawn goes on.
        QObject::connect(&f.map, &MapControl::mapMouseDown,
                         [&] { f.map.dragPolygon([&](const Shape& s) { results.append(s); }); });
        click(f.map, QPoint(20, 20));
        click(f.map, QPoint(180, 20));
        hover(f.map, QPoint(180, 180));
        const QImage screen = f.map.grab().toImage();
        int dark = 0;
        for (int y = 30; y < 170; ++y)
            dark += QColor(screen.pixel(180, y)).lightness() < 100 ? 1 : 0;
        QVERIFY2(dark > 20, "the rubber band follows the mouse from the last vertex");
        QVERIFY(QColor(f.map.image().pixel(180, 100)).lightness() > 200);

        click(f.map, QPoint(180, 180));
        QVERIFY(results.isEmpty());
        QTest::mouseDClick(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(180, 180));
        QTest::mouseRelease(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(180, 180));
        QCOMPARE(results.size(), 1);
        QCOMPARE(results[0].kind, Shape::Kind::Polygon);
        QCOMPARE(results[0].points, (QVector<QPointF>{{100, 900}, {900, 900}, {900, 100}}));
        QVERIFY(!f.map.toolActive());
    }

    void searchExpressionFindsWhatABruteForceSearchFindsOrGivesAnError() {
        GridMap f;
        QString error;
        RecordCursor found = f.map.searchExpression(*f.layer, "depth > 3 AND site <> 's2'", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(features(found),
                 f.bruteForce([&](int i) { return f.depth[i].toInt() > 3 && f.site[i].toString() != "s2"; }));
        for (found.first(); !found.atEnd(); found.next()) {
            QCOMPARE(found.fieldValue("depth").toInt(), f.depth[found.featureIndex()].toInt());
            QCOMPARE(found.shape().points.value(0), f.points[found.featureIndex()]);
        }
        // Unusable searches give an error, or nothing.
        RecordCursor rejected = f.map.searchExpression(*f.layer, "nosuchfield = 1", &error);
        QVERIFY(!error.isEmpty() && rejected.atEnd() && rejected.count() == 0);
        error.clear();
        QCOMPARE(f.map.searchShape(*f.layer, Shape(), 9, QString(), &error).count(), 0);
        QVERIFY(error.isEmpty());
        const Shape square = Shape::polygon({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
        QVERIFY(f.map.searchShape(*f.layer, square, 1, QString(), &error).atEnd() && !error.isEmpty());
    }

    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons_data() {
        QTest::addColumn<QVector<QPointF>>("ring");
        QTest::addColumn<int>("depth");
        const QVector<QPointF> rectangle{{100, 100}, {600, 100}, {600, 400}, {100, 400}};
        QTest::newRow("rectangle") << rectangle << -1;
        QTest::newRow("rectangle, one depth only") << rectangle << 0;
        QTest::newRow("concave U") << QVector<QPointF>{{100, 100}, {900, 100}, {900, 900}, {700, 900},
                                                       {700, 300}, {300, 300}, {300, 900}, {100, 900}}
                                   << -1;
        // Two squares meeting at one vertex, drawn as one ring.
        QTest::newRow("self-touching bow") << QVector<QPointF>{{100, 100}, {500, 100}, {500, 500}, {900, 500},
                                                               {900, 900}, {500, 900}, {500, 500}, {100, 500}}
                                           << -1;
        QTest::newRow("self-crossing star")
            << QVector<QPointF>{{500, 950}, {800, 50}, {50, 650}, {950, 650}, {200, 50}} << -1;
        QTest::newRow("outside the data") << QVector<QPointF>{{2000, 2000}, {3000, 2000}, {3000, 3000}} << -1;
    }
    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons() {
        QFETCH(QVector<QPointF>, ring);
        QFETCH(int, depth);
        GridMap f;
        const QString expression = depth < 0 ? QString() : QString("depth = %1").arg(depth);
        QString error;
        const RecordCursor found = f.map.searchShape(*f.layer, Shape::polygon(ring), 9, expression, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QPolygonF polygon(ring);
        QCOMPARE(features(found), f.bruteForce([&](int i) {
            return polygon.containsPoint(f.points[i], Qt::OddEvenFill) &&
                   (depth < 0 || f.depth[i].toInt() == depth);
        }));
    }

};

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    TestMapControl tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_map_control.moc"
