#include "map_fixture.h"

#include <QMouseEvent>

using namespace mapcontrol;

namespace {
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
} // namespace

class TestMapTools : public QObject {
    Q_OBJECT
private slots:
    void mouseDownAndMoveReportButtonModifiersAndPositionThatMapPointsConvertBothWays() {
        ShownMap f;
        QList<QVariantList> downs, moves;
        QObject::connect(&f.map, &MapControl::mapMouseDown,
                         [&](Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
                             downs.append({int(b), int(m), p});
                         });
        QObject::connect(&f.map, &MapControl::mapMouseMove,
                         [&](Qt::MouseButtons b, Qt::KeyboardModifiers m, QPoint p) {
                             moves.append({int(b), int(m), p});
                         });
        QTest::mousePress(&f.map, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 20));
        QTest::mouseMove(&f.map, QPoint(30, 40));
        QTest::mouseRelease(&f.map, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
        hover(f.map, QPoint(50, 60));
        QCOMPARE(downs,
                 (QList<QVariantList>{{int(Qt::RightButton), int(Qt::ShiftModifier), QPoint(10, 20)}}));
        QCOMPARE(moves.size(), 2);
        QCOMPARE(moves[0][2].toPoint(), QPoint(30, 40));
        QCOMPARE(moves[1], (QVariantList{int(Qt::NoButton), int(Qt::NoModifier), QPoint(50, 60)}));
        QCOMPARE(f.map.screenToMap(QPointF(50, 60)), QPointF(250, 700));
        // Round trips at the size of projected coordinates lose nothing visible.
        f.map.setViewBounds(Rect{643210.5, 4912345.25, 651000, 4920000});
        for (int i = 0; i < 50; ++i) {
            const QPointF pixel(i * 3.9, 190 - i * 3.7);
            const QPointF back = f.map.mapToScreen(f.map.screenToMap(pixel));
            QVERIFY(std::abs(back.x() - pixel.x()) < 1e-6 && std::abs(back.y() - pixel.y()) < 1e-6);
        }
    }

    void dragRectangleSpansFromThePressToTheReleaseWhenAskedAtOrBeforeThePress() {
        ShownMap f;
        QVector<Rect> results;
        const auto askForRectangle = [&] { f.map.dragRectangle([&](const Rect& r) { results.append(r); }); };
        // Asked for before any press, the tool starts at the next press.
        askForRectangle();
        QTest::mouseMove(&f.map, QPoint(10, 10));
        QTest::mousePress(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseRelease(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        // Asked for at the press, as the program's mouse-down handler does.
        QObject::connect(&f.map, &MapControl::mapMouseDown, askForRectangle);
        QTest::mousePress(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
        QTest::mouseMove(&f.map, QPoint(60, 140));
        QVERIFY(f.map.toolActive());
        QCOMPARE(results.size(), 1);
        QTest::mouseRelease(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
        QCOMPARE(results, (QVector<Rect>{{50, 800, 200, 950}, {100, 600, 600, 850}}));
        QVERIFY(!f.map.toolActive());
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

    void dragPanMovesTheImageWithTheMouseAndTheViewOnRelease() {
        ShownMap f;
        QObject::connect(&f.map, &MapControl::mapMouseDown, [&] { f.map.dragPan(); });
        QTest::mousePress(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        QTest::mouseMove(&f.map, QPoint(150, 80));
        QVERIFY_COLOR(f.map.grab().toImage().pixelColor(150, 80), QColor(Qt::blue));
        QCOMPARE(f.map.viewBounds(), MapFixture::kView);

        QTest::mouseRelease(&f.map, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
        QCOMPARE(f.map.viewBounds(), (Rect{-250, -100, 750, 900}));
        QVERIFY_COLOR(f.map.image().pixelColor(150, 80), QColor(Qt::blue));
        QVERIFY_COLOR(f.map.image().pixelColor(100, 100), QColor(Qt::white));
    }
};

int runMapToolTests(int argc, char** argv) {
    TestMapTools tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_map_tools.moc"
