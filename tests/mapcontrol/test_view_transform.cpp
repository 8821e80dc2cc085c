#include "mapcontrol/view_transform.h"

#include <QTest>

using mapcontrol::Rect;
using mapcontrol::ViewTransform;

class TestViewTransform : public QObject {
    Q_OBJECT
private slots:
    void fittingWidensTheNarrowDirectionAboutTheCentre_data() {
        QTest::addColumn<Rect>("requested");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<Rect>("fitted");
        QTest::newRow("square view in a wide widget grows east-west")
            << Rect{0, 0, 100, 100} << QSize(200, 100) << Rect{-50, 0, 150, 100};
        QTest::newRow("wide view in a square widget grows north-south")
            << Rect{0, 0, 400, 100} << QSize(100, 100) << Rect{0, -150, 400, 250};
        QTest::newRow("matching aspect stays as it is")
            << Rect{10, 20, 30, 30} << QSize(40, 20) << Rect{10, 20, 30, 30};
    }
    void fittingWidensTheNarrowDirectionAboutTheCentre() {
        QFETCH(Rect, requested);
        QFETCH(QSize, pixels);
        QFETCH(Rect, fitted);
        const Rect result = ViewTransform::fit(requested, pixels);
        QCOMPARE(result.minX, fitted.minX);
        QCOMPARE(result.minY, fitted.minY);
        QCOMPARE(result.maxX, fitted.maxX);
        QCOMPARE(result.maxY, fitted.maxY);
    }

    void fittingADegenerateRectangleStillGivesAUsableView() {
        const Rect result = ViewTransform::fit(Rect{5, 5, 5, 5}, QSize(0, 0));
        QVERIFY(!result.isEmpty());
        QCOMPARE(result.center(), QPointF(5, 5));
    }

    void mapCornersLandOnImageCornersWithNorthUp() {
        const ViewTransform t(Rect{100, 200, 300, 300}, QSize(400, 200));
        QCOMPARE(t.unitsPerPixel(), 0.5);
        QCOMPARE(t.toPixel(QPointF(100, 300)), QPointF(0, 0));
        QCOMPARE(t.toPixel(QPointF(300, 200)), QPointF(400, 200));
        QCOMPARE(t.toMap(QPointF(200, 50)), QPointF(200, 275));
    }

    void pixelToMapAndBackIsTheIdentity() {
        const ViewTransform t(
            ViewTransform::fit(Rect{643210.5, 4912345.25, 651000, 4920000}, QSize(637, 411)),
            QSize(637, 411));
        for (int i = 0; i < 50; ++i) {
            const QPointF pixel(i * 12.7, 400 - i * 7.9);
            const QPointF back = t.toPixel(t.toMap(pixel));
            QVERIFY(std::abs(back.x() - pixel.x()) < 1e-6 && std::abs(back.y() - pixel.y()) < 1e-6);
        }
    }

    void aScaledTransformShowsTheSameViewWithSmallerPixels() {
        const ViewTransform t(Rect{0, 0, 100, 50}, QSize(200, 100));
        const ViewTransform twice = t.scaled(2.0);
        QCOMPARE(twice.pixels(), QSize(400, 200));
        QCOMPARE(twice.unitsPerPixel(), t.unitsPerPixel() / 2);
        QCOMPARE(twice.toPixel(QPointF(50, 25)), t.toPixel(QPointF(50, 25)) * 2);
    }
};

int runViewTransformTests(int argc, char** argv) {
    TestViewTransform tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_view_transform.moc"
