// Graphical selections end to end: "Select Graphically", a polygon drawn with the mouse on the
// map, the points inside it painted yellow and their records in the grid, compared with what
// the data files hold.

#include "data_files.h"

#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "support/main_window_harness.h"

using namespace datafiles;
using testing::WindowDriver;
using quillfen::SampleKind;

namespace {

const QString kGraphicalTitle = QStringLiteral("Kesselby - Selected Records: Graphical Query");

/// The left half of the map control, 4 pixels inside its edges, as polygon vertices.
QVector<QPoint> leftHalfOfTheMap(const WindowDriver& driver) {
    const QRect area = driver.window.map().rect().adjusted(4, 4, -4, -4);
    const int right = area.center().x();
    return {area.topLeft(), QPoint(right, area.top()), QPoint(right, area.bottom()), area.bottomLeft()};
}

QString periodOf(SampleKind kind, int box) {
    return quillfen::samplingPeriods(kind).at(box).periodCode;
}

/// The records of the period's points inside the polygon the user drew last, site by site for
/// the kinds whose records are in a companion table.
Records recordsInside(const WindowDriver& driver, SampleKind kind, int box, QVector<QPointF>* points) {
    const Records found = inside(layerRecords(quillfen::layerCode(kind, periodOf(kind, box))),
                                 driver.window.query_polygon.points);
    const QString table = quillfen::companionTable(kind, periodOf(kind, box));
    Records listed = table.isEmpty() ? found : Records();
    for (const Record& point : found) {
        *points << point.point();
        if (!table.isEmpty())
            listed = joined(listed, withGridCode(tableRecords(table), point.gridCode()));
    }
    return listed;
}

} // namespace

class GraphicalSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void aRedrawBeforeAnyPolygonSearchesNothingAndThePolygonThenSelectsOnEveryLayer_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("periods");
        QTest::newRow("water, two periods numbered on") << int(SampleKind::Water) << 2;
        QTest::newRow("fish sites, records site by site") << int(SampleKind::Fish) << 1;
    }

    void aRedrawBeforeAnyPolygonSearchesNothingAndThePolygonThenSelectsOnEveryLayer() {
        QFETCH(int, kind);
        QFETCH(int, periods);
        const auto sampleKind = SampleKind(kind);
        WindowDriver driver;
        for (int i = 0; i < periods; ++i)
            driver.clickBox(quillfen::boxArrayName(sampleKind) + "_" + QString::number(i));
        driver.clickButton("Command4");
        QCOMPARE(driver.window.query_type, qint16(2));

        driver.clickToolbar("Full Extent");
        driver.settle();
        QVERIFY(hasNoRecordText(driver.grid()));
        QVERIFY(driver.prompts.messages.isEmpty());
        QCOMPARE(driver.window.query_type, qint16(2));

        driver.drawPolygon(leftHalfOfTheMap(driver));
        QCOMPARE(driver.window.query_type, qint16(0));
        QCOMPARE(driver.title(), kGraphicalTitle);
        Records expected;
        QVector<QPointF> points;
        for (int i = 0; i < periods; ++i) {
            const Records own = recordsInside(driver, sampleKind, i, &points);
            QVERIFY(!own.empty());
            expected = joined(expected, own);
        }
        QVERIFY(expected.size() >= 3);
        VERIFY_LISTING(driver.grid(), expected, sampleKind, sampleKind == SampleKind::Water ? 0 : 1);
        for (const QPointF& point : points)
            QVERIFY(driver.isHighlighted(point));
    }

    void aPolygonAroundOneSiteListsTheRecordsOfExactlyItsCodeAndPaintsIt_data() {
        QMap<int, int> catchesPerSite;
        for (const Record& record : tableRecords("kxr93sm"))
            ++catchesPerSite[record.gridCode()];
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::newRow("fish site without catch") << int(SampleKind::Fish) << 7;
        QTest::newRow("fish site with two catch records")
            << int(SampleKind::Fish) << catchesPerSite.key(2, -1);
        QTest::newRow("vegetation site 12, not 120") << int(SampleKind::Veg) << 12;
    }

    void aPolygonAroundOneSiteListsTheRecordsOfExactlyItsCodeAndPaintsIt() {
        QFETCH(int, kind);
        QFETCH(int, code);
        const auto sampleKind = SampleKind(kind);
        const QPointF point =
            site(layerRecords(quillfen::layerCode(sampleKind, periodOf(sampleKind, 0))), code).point();
        WindowDriver driver;
        driver.clickBox(quillfen::boxArrayName(sampleKind) + "_0");
        driver.zoomInAround(point, 20);
        driver.clickButton("Command4");
        driver.drawSquareAround(point, 8);

        QVector<QPointF> points;
        const Records expected = recordsInside(driver, sampleKind, 0, &points);
        QCOMPARE(points, QVector<QPointF>{point});
        QCOMPARE(driver.title(), kGraphicalTitle);
        QVERIFY(driver.isHighlighted(point));
        VERIFY_LISTING(driver.grid(), expected, sampleKind, 1);
    }

    void aPolygonWithoutSamplePointsListsNothingUnderTheGraphicalTitle() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        driver.clickButton("Command4");
        driver.drawPolygon({QPoint(3, 3), QPoint(20, 3), QPoint(3, 20)});

        QVector<QPointF> points;
        QVERIFY2(recordsInside(driver, SampleKind::Water, 0, &points).empty(), "the corner holds no sample");
        QCOMPARE(driver.title(), kGraphicalTitle);
        QCOMPARE(driver.grid().textMatrix(0, 1), QStringLiteral("Barcode"));
        QVERIFY(hasNoRecordText(driver.grid()));
        driver.clickButton("Command3");
        QCOMPARE(driver.window.recordsWindow().windowTitle(),
                 QStringLiteral("Selected Records: Graphical Query"));
        driver.window.recordsWindow().hide();
    }

    void aSelectionStartedWhileItsTablesLoadListsWhatOneStartedAfterLists() {
        // Each window ticks every fish period and draws the same polygon. The first draws it at
        // once, while the catch tables its ticks began to read are still being read; the
        // second, a fresh window with its own selection run, once they have all been read.
        const auto gridAfterTickingAllFishAndDrawing = [](WindowDriver& driver) {
            const QVector<quillfen::SamplingPeriod>& periods = quillfen::samplingPeriods(SampleKind::Fish);
            for (int box = 0; box < periods.size(); ++box) {
                if (periods[box].enabled)
                    driver.clickBox("chkfish_" + QString::number(box));
            }
            driver.clickButton("Command4");
            driver.drawPolygon(leftHalfOfTheMap(driver));
            QStringList cells;
            for (int row = 0; row < driver.grid().rows(); ++row) {
                for (int col = 0; col < driver.grid().cols(); ++col)
                    cells << driver.grid().textMatrix(row, col);
            }
            return cells;
        };
        WindowDriver during;
        const QStringList whileLoading = gridAfterTickingAllFishAndDrawing(during);
        QCOMPARE(during.title(), kGraphicalTitle);
        QVERIFY(whileLoading.size() > 100 * during.grid().cols());
        WindowDriver after;
        QCOMPARE(gridAfterTickingAllFishAndDrawing(after), whileLoading);
        QVERIFY(during.prompts.messages.isEmpty() && after.prompts.messages.isEmpty());
    }
};

int runGraphicalSelectionTests(int argc, char** argv) {
    GraphicalSelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_graphical_selection.moc"
