// Graphical selections end to end: "Select Graphically", a polygon drawn with the mouse on the
// map, the points inside it painted yellow and their records in the grid, compared with what
// the data files hold.

#include "data_files.h"
#include "window_driver.h"

#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"

#include <QMap>
#include <QTest>

using namespace datafiles;
using quillfen::SampleKind;

namespace {

const QString kGraphicalTitle = QStringLiteral("Kesselby - Selected Records: Graphical Query");

/// The records of a layer inside the polygon the user drew last.
Records insideDrawnPolygon(const WindowDriver& driver, const Records& records) {
    return inside(records, driver.window.query_polygon.points);
}

/// The map control's rectangle, `inset` pixels inside its edges, as polygon vertices; only
/// its left part when `leftHalf`.
QVector<QPoint> mapRectangle(const WindowDriver& driver, int inset, bool leftHalf) {
    const QRect area = driver.window.map().rect().adjusted(inset, inset, -inset, -inset);
    const int right = leftHalf ? area.center().x() : area.right();
    return {area.topLeft(), QPoint(right, area.top()), QPoint(right, area.bottom()), area.bottomLeft()};
}

Records joined(Records first, const Records& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace

#define VERIFY_LISTING(grid, records, kind, emptyRows)                                                       \
    do {                                                                                                     \
        verifyListing(grid, records, kind, emptyRows);                                                       \
        if (QTest::currentTestFailed())                                                                      \
            return;                                                                                          \
    } while (false)

class GraphicalSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void aRedrawBeforeAnyPolygonSearchesNothingAndThePolygonThenSelects() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        driver.clickButton("Command4");
        QCOMPARE(driver.window.query_type, qint16(2));

        driver.clickToolbar("Full Extent");
        driver.settle();
        QVERIFY(hasNoRecordText(driver.grid()));
        QVERIFY(driver.prompts.messages.isEmpty());
        QCOMPARE(driver.window.query_type, qint16(2));

        driver.drawPolygon(mapRectangle(driver, 4, true));
        QCOMPARE(driver.window.query_type, qint16(0));
        const Records expected = insideDrawnPolygon(driver, layerRecords("kxw93sm"));
        QVERIFY(expected.size() >= 3);
        QCOMPARE(driver.title(), kGraphicalTitle);
        VERIFY_LISTING(driver.grid(), expected, SampleKind::Water, 0);
        for (const Record& record : expected)
            QVERIFY(driver.isHighlighted(record.point));
    }

    void aPolygonWithoutSamplePointsListsNothingUnderTheGraphicalTitle() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        driver.clickButton("Command4");
        driver.drawPolygon({QPoint(3, 3), QPoint(20, 3), QPoint(3, 20)});

        QVERIFY2(insideDrawnPolygon(driver, layerRecords("kxw93sm")).empty(), "the corner holds no sample");
        QVERIFY(driver.window.query_polygon.points.size() >= 3);
        QCOMPARE(driver.title(), kGraphicalTitle);
        QCOMPARE(driver.grid().textMatrix(0, 1), QStringLiteral("Barcode"));
        QVERIFY(hasNoRecordText(driver.grid()));
        driver.clickButton("Command3");
        QCOMPARE(driver.window.recordsWindow().windowTitle(),
                 QStringLiteral("Selected Records: Graphical Query"));
        driver.window.recordsWindow().hide();
    }

    void twoActivePeriodsAreListedOneAfterTheOtherAndBothPainted() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        driver.clickBox("chkwater_1");
        driver.clickButton("Command4");
        driver.drawPolygon(mapRectangle(driver, 4, true));

        const Records first = insideDrawnPolygon(driver, layerRecords("kxw93sm"));
        const Records second = insideDrawnPolygon(driver, layerRecords("kxw93fl"));
        QVERIFY(!first.empty() && !second.empty());
        VERIFY_LISTING(driver.grid(), joined(first, second), SampleKind::Water, 0);
        QVERIFY(driver.isHighlighted(first.front().point));
        QVERIFY(driver.isHighlighted(second.back().point));
    }

    void aFishSiteWithoutCatchIsPaintedAndEachCatchOfASiteTakesARow() {
        const Records sites = layerRecords("kxf93sm");
        const Records catches = tableRecords("kxr93sm");
        QVERIFY2(withGridCode(catches, 7).empty(), "site 7 caught nothing");
        QMap<int, int> perSite;
        for (const Record& record : catches)
            ++perSite[record.gridCode()];
        const int twoRecordSite = perSite.key(2, -1);
        QVERIFY2(twoRecordSite > 0, "some site has exactly two catch records");

        WindowDriver driver;
        driver.clickBox("chkfish_0");
        driver.zoomInAround(site(sites, 7).point, 2);
        driver.clickButton("Command4");
        driver.drawSquareAround(site(sites, 7).point, 8);
        QCOMPARE(gridCodes(insideDrawnPolygon(driver, sites)), QSet<int>{7});
        QVERIFY(driver.isHighlighted(site(sites, 7).point));
        QVERIFY(hasNoRecordText(driver.grid()));
        QCOMPARE(driver.title(), kGraphicalTitle);

        driver.clickToolbar("Full Extent");
        driver.zoomInAround(site(sites, twoRecordSite).point, 2);
        driver.clickButton("Command4");
        driver.drawSquareAround(site(sites, twoRecordSite).point, 8);
        QCOMPARE(gridCodes(insideDrawnPolygon(driver, sites)), QSet<int>{twoRecordSite});
        VERIFY_LISTING(driver.grid(), withGridCode(catches, twoRecordSite), SampleKind::Fish, 1);
        QVERIFY(driver.isHighlighted(site(sites, twoRecordSite).point));
    }

    void aSiteListsTheRecordsOfExactlyItsCodeNotThoseOfLongerCodes() {
        const Records sites = layerRecords("kxv98");
        const Records records = tableRecords("kxv98d");
        QVERIFY2(!withGridCode(records, 120).empty(), "site 120 has records that a prefix match would add");

        WindowDriver driver;
        driver.clickBox("chkveg_0");
        driver.zoomInAround(site(sites, 12).point, 2);
        driver.clickButton("Command4");
        driver.drawSquareAround(site(sites, 12).point, 8);

        QCOMPARE(gridCodes(insideDrawnPolygon(driver, sites)), QSet<int>{12});
        VERIFY_LISTING(driver.grid(), withGridCode(records, 12), SampleKind::Veg, 1);
    }

    void aGraphicalFishQueryOverManySitesListsTheirRecordsSiteBySite() {
        const Records sites = layerRecords("kxf93sm");
        const Records catches = tableRecords("kxr93sm");
        WindowDriver driver;
        driver.clickBox("chkfish_0");
        driver.clickButton("Command4");
        driver.drawPolygon(mapRectangle(driver, 4, true));

        Records expected;
        for (const Record& found : insideDrawnPolygon(driver, sites)) {
            const Records own = withGridCode(catches, found.gridCode());
            expected.insert(expected.end(), own.begin(), own.end());
            QVERIFY(driver.isHighlighted(found.point));
        }
        QVERIFY(expected.size() >= 3);
        VERIFY_LISTING(driver.grid(), expected, SampleKind::Fish, 1);
    }
};

int runGraphicalSelectionTests(int argc, char** argv) {
    GraphicalSelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_graphical_selection.moc"
