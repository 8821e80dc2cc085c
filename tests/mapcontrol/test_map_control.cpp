// The map control on small datasets written with GDAL: markers, fills, labels and rasters where
// their coordinates put them, the view, the dataset cache, the polygon tool, and the search by
// shape against a brute-force search. (The layer stack, its notifications and the value renderer
// are checked through the layer boxes and the land cover; conditions, which the map hands to the
// table database, with the database.)

#include "test_data.h"

#include "mapcontrol/map_control.h"
#include "mapcontrol/view_transform.h"
#include "support/test_main.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPolygonF>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace mapcontrol;

Q_DECLARE_METATYPE(mapcontrol::Rect)

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
    /// offset in pixels, in the back buffer or in a picture `scale` times its size.
    QColor colorAt(QPointF mapPoint, QPoint offset = {}, const QImage* picture = nullptr,
                   double scale = 1) const {
        const QPointF pixel = map.mapToScreen(mapPoint) * scale;
        return (picture ? *picture : map.image())
            .pixelColor(int(std::floor(pixel.x())) + offset.x(), int(std::floor(pixel.y())) + offset.y());
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

void click(QWidget& widget, QPoint position) {
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, position);
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

    void polygonsWithoutOutlineFillAndNeighboursLeaveNoSeam() {
        MapFixture f;
        // Two triangles that split a rectangle along a slanted diagonal.
        testdata::writeShapes(f.folder(), "halves",
                              {"POLYGON ((100 100, 900 100, 900 700, 100 100))",
                               "POLYGON ((100 100, 900 700, 100 700, 100 100))"});
        f.open();
        auto layer = f.addVector("halves");
        layer->symbol.color = packColor(0, 128, 0);
        layer->symbol.outline = false;
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(QPointF(700, 200)), kGreen);
        QVERIFY_COLOR(f.colorAt(QPointF(50, 400)), kWhite);
        for (int i = 1; i < 40; ++i)
            QVERIFY_COLOR(f.colorAt(QPointF(100 + i * 20, 100 + i * 15), {0, -1}), kGreen);

        // In a picture at twice the size the seam stays closed, by a hairline one pixel wide:
        // the pixel wholly outside the left edge (x = 100) is not painted green.
        const QString path = f.folder() + "/halves.bmp";
        QVERIFY(f.map.saveImage(1, path, 2.0));
        const QImage picture(path, "BMP");
        for (int i = 1; i < 40; ++i) {
            for (const QPoint offset : {QPoint(0, 0), QPoint(0, -1)})
                QVERIFY_COLOR(f.colorAt(QPointF(100 + i * 20, 100 + i * 15), offset, &picture, 2.0), kGreen);
        }
        QVERIFY_COLOR(f.colorAt(QPointF(100, 400), {}, &picture, 2.0), kGreen);
        QVERIFY(!near(f.colorAt(QPointF(100, 400), {-1, 0}, &picture, 2.0), kGreen, 40));
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

    // Labels and the value renderer's classes rely on an empty field having no text; the text of
    // other values is checked through the records grid.
    void anEmptyFieldHasNoText() {
        for (const QVariant& empty : {QVariant(), QVariant(QMetaType::fromType<QString>())})
            QCOMPARE(fieldText(empty), QString());
    }

    void rasterCellsLandWhereTheirGeotransformPutsThemReadOverTheViewAtItsResolution() {
        MapFixture f;
        // 400 x 400 cells of 2.5 units over the whole view, in blocks of 100 x 100 cells: the
        // block of column 1, row 2 (x 250..500, y 250..500) blue, the top-left one yellow.
        QVector<int> cells(400 * 400, 0);
        for (int i = 0; i < cells.size(); ++i) {
            const int block = i / 40000 * 4 + i % 400 / 100;
            cells[i] = block == 2 * 4 + 1 ? 2 : block == 0 ? 3 : 0;
        }
        const QString path = f.folder() + "/sheet.tif";
        testdata::writePaletteRaster(path, 400, 400, cells, {Qt::red, Qt::green, Qt::blue, Qt::yellow},
                                     QPointF(0, 1000), 2.5);
        auto raster = std::make_shared<RasterLayer>();
        QVERIFY(raster->setFile(path));
        QCOMPARE(raster->extent(), MapFixture::kView);
        // Read over the view only, at five units a pixel, and never finer than the cells.
        QCOMPARE(raster->read(MapFixture::kView, 5).image.size(), QSize(200, 200));
        const RasterLayer::Tile part = raster->read(Rect{100, 100, 200, 200}, 5);
        QCOMPARE(part.image.size(), QSize(20, 20));
        QCOMPARE(part.bounds, (Rect{100, 100, 200, 200}));
        QCOMPARE(raster->read(Rect{100, 100, 110, 110}, 0.1).image.size(), QSize(4, 4));

        f.map.addLayer(raster);
        f.showWholeView();
        QVERIFY_COLOR(f.colorAt(QPointF(375, 375)), kBlue);
        QVERIFY_COLOR(f.colorAt(QPointF(125, 875)), QColor(Qt::yellow));
        QVERIFY_COLOR(f.colorAt(QPointF(625, 375)), QColor(Qt::red));
        f.map.setViewBounds(Rect{300, 300, 400, 400});
        QVERIFY_COLOR(f.colorAt(QPointF(350, 350)), kBlue);
        QVERIFY_COLOR(f.colorAt(QPointF(390, 310), {-1, -1}), kBlue);
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

    void paintingFeaturesInOnePassGivesThePixelsOfPaintingEachShape() {
        MapFixture f;
        // Markers whose centre lies just outside the view still show in part; those further out,
        // features without geometry and indexes out of range show nothing; a repeated feature
        // is painted twice.
        testdata::writeShapes(f.folder(), "hits",
                              {"MULTIPOINT ((500 500), (530 510))", "MULTIPOINT ((-12 300))",
                               "MULTIPOINT ((700 1013))", "MULTIPOINT ((-60 500))",
                               "MULTIPOINT ((5000 5000))", QString()});
        const QVector<int> features{0, 1, 2, 3, 4, 5, 1, -1, 6};
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

    void aDatasetIsReadOnceUntilItsFilesAreRewritten() {
        MapFixture f;
        f.addPointLayer(0);
        const DatasetPtr first = f.map.findDataset("pt");
        QCOMPARE(f.map.findDataset("pt"), first);
        for (const char* extension : {".shp", ".shx", ".dbf"})
            QVERIFY(QFile::remove(f.folder() + "/pt" + extension));
        testdata::writeShapes(f.folder(), "pt", {"POINT (500 500)", QString(), "POINT (10 20)"});
        const DatasetPtr rewritten = f.map.findDataset("pt");
        QVERIFY(rewritten && rewritten != first);
        QCOMPARE(rewritten->featureCount(), 3);
    }

    void screenAndMapPointsConvertBothWays() {
        MapFixture f;
        f.showWholeView();
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
        MapFixture f;
        f.addPointLayer(packColor(0, 0, 255));
        f.map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        f.showWholeView();
        QVector<Shape> results;
        // Like the program's mouse-down handler, ask for a polygon at every press: the polygon
        // already being drawn goes on.
        QObject::connect(&f.map, &MapControl::mapMouseDown,
                         [&] { f.map.dragPolygon([&](const Shape& s) { results.append(s); }); });
        click(f.map, QPoint(20, 20));
        click(f.map, QPoint(180, 20));
        // A move without a button goes straight to the widget: there is no real pointer to move.
        QMouseEvent move(QEvent::MouseMove, QPointF(180, 180), f.map.mapToGlobal(QPointF(180, 180)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&f.map, &move);
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

    void keysPanAQuarterZoomAboutTheCentreAndShowTheWholeExtent_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Rect>("view");
        QTest::newRow("left shows more of the west") << int(Qt::Key_Left) << Rect{-250, 0, 750, 1000};
        QTest::newRow("right") << int(Qt::Key_Right) << Rect{250, 0, 1250, 1000};
        QTest::newRow("up shows more of the north") << int(Qt::Key_Up) << Rect{0, 250, 1000, 1250};
        QTest::newRow("down") << int(Qt::Key_Down) << Rect{0, -250, 1000, 750};
        QTest::newRow("plus zooms in") << int(Qt::Key_Plus) << Rect{100, 100, 900, 900};
        QTest::newRow("minus zooms out") << int(Qt::Key_Minus) << Rect{-125, -125, 1125, 1125};
        QTest::newRow("home shows every layer") << int(Qt::Key_Home) << Rect{100, 100, 500, 500};
        QTest::newRow("other keys leave the view") << int(Qt::Key_A) << MapFixture::kView;
    }
    void keysPanAQuarterZoomAboutTheCentreAndShowTheWholeExtent() {
        QFETCH(int, key);
        QFETCH(Rect, view);
        MapFixture f;
        f.addPointLayer(packColor(0, 0, 255));
        f.showWholeView();
        QTest::keyClick(&f.map, Qt::Key(key));
        const Rect shown = f.map.viewBounds();
        for (double gap :
             {shown.minX - view.minX, shown.minY - view.minY, shown.maxX - view.maxX, shown.maxY - view.maxY})
            QVERIFY2(
                std::abs(gap) < 1e-9,
                qPrintable(
                    QString("%1 %2 %3 %4").arg(shown.minX).arg(shown.minY).arg(shown.maxX).arg(shown.maxY)));
    }

    void theWheelZoomsAboutThePointerAndEscAbandonsATool() {
        MapFixture f;
        f.addPointLayer(packColor(0, 0, 255));
        f.map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        f.showWholeView();
        QVERIFY(f.map.focusPolicy() & Qt::TabFocus && f.map.focusPolicy() & Qt::ClickFocus);
        const QPointF pointer(40, 150);
        const QPointF under = f.map.screenToMap(pointer);
        QWheelEvent wheel(pointer, f.map.mapToGlobal(pointer), QPoint(), QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&f.map, &wheel);
        QVERIFY(std::abs(f.map.viewBounds().width() - 1000 / 1.5625) < 1e-6);
        const QPointF stays = f.map.screenToMap(pointer);
        QVERIFY(std::abs(stays.x() - under.x()) < 1e-6 && std::abs(stays.y() - under.y()) < 1e-6);

        // A polygon in progress is dropped by Esc, its callback never called; the view stays.
        const Rect before = f.map.viewBounds();
        bool delivered = false;
        f.map.dragPolygon([&](const Shape&) { delivered = true; });
        click(f.map, QPoint(20, 20));
        QVERIFY(f.map.toolActive());
        QTest::keyClick(&f.map, Qt::Key_Left);
        QCOMPARE(f.map.viewBounds(), before);
        QTest::keyClick(&f.map, Qt::Key_Escape);
        QVERIFY(!f.map.toolActive());
        QTest::mouseDClick(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        QVERIFY(!delivered);
    }

    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons_data() {
        QTest::addColumn<QVector<QPointF>>("ring");
        QTest::newRow("rectangle") << QVector<QPointF>{{100, 100}, {600, 100}, {600, 400}, {100, 400}};
        QTest::newRow("concave U") << QVector<QPointF>{{100, 100}, {900, 100}, {900, 900}, {700, 900},
                                                       {700, 300}, {300, 300}, {300, 900}, {100, 900}};
        // Two squares meeting at one vertex, drawn as one ring.
        QTest::newRow("self-touching bow") << QVector<QPointF>{
            {100, 100}, {500, 100}, {500, 500}, {900, 500}, {900, 900}, {500, 900}, {500, 500}, {100, 500}};
        QTest::newRow("self-crossing star")
            << QVector<QPointF>{{500, 950}, {800, 50}, {50, 650}, {950, 650}, {200, 50}};
        QTest::newRow("outside the data") << QVector<QPointF>{{2000, 2000}, {3000, 2000}, {3000, 3000}};
    }
    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons() {
        QFETCH(QVector<QPointF>, ring);
        MapFixture f;
        // A 20 x 20 grid of points at half-unit offsets (never on a polygon edge), and those of
        // them inside the ring by a brute-force test.
        const QPolygonF polygon(ring);
        QStringList points;
        QVector<int> inside;
        for (int i = 0; i < 400; ++i) {
            const QPointF point(25 + 50 * (i % 20) + 0.5, 25 + 50 * (i / 20) + 0.5);
            points.append(QString("POINT (%1 %2)").arg(point.x()).arg(point.y()));
            if (polygon.containsPoint(point, Qt::OddEvenFill))
                inside.append(i);
        }
        testdata::writeShapes(f.folder(), "grid", points);
        f.open();
        QString error;
        RecordCursor found =
            f.map.searchShape(*f.addVector("grid"), Shape::polygon(ring), 9, QString(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVector<int> features;
        for (found.first(); !found.atEnd(); found.next())
            features.append(found.featureIndex());
        std::sort(features.begin(), features.end());
        QCOMPARE(features, inside);
    }
};

QUILLFEN_TEST(TestMapControl)

#include "test_map_control.moc"
