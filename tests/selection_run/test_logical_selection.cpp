// Logical selections end to end: the query window's condition searched on every draw/query
// layer at each redraw, the hits painted yellow and their records in the grid, compared with
// what the data files hold.

#include "data_files.h"
#include "window_driver.h"

#include "records/record_grid_model.h"

#include <QMap>
#include <QTest>

using namespace datafiles;
using quillfen::SampleKind;

namespace {

const QString kLowOxygenTitle =
    QStringLiteral("Kesselby - Selected Records: dis_oxygen < 5 AND dis_oxygen <> -99");

/// The samples the query "Dissolved Oxygen < 5" finds: measured (not -99) and below 5.
Records lowOxygen(const QString& layerCode) {
    return matching(layerRecords(layerCode), [](const Record& r) {
        const QVariant value = r.value("dis_oxygen");
        return !value.isNull() && value.toDouble() != -99 && value.toDouble() < 5;
    });
}

Records withSpecies(const Records& records, const QString& species) {
    return matching(records,
                    [&species](const Record& r) { return r.value("species").toString() == species; });
}

Records joined(Records first, const Records& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

/// A record of the listing that has a place on the map.
Record firstWithPoint(const Records& records) {
    for (const Record& record : records) {
        if (record.hasPoint)
            return record;
    }
    QTest::qFail("no record with a point", __FILE__, __LINE__);
    return Record();
}

QStringList gridTexts(const quillfen::RecordGridModel& grid) {
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c)
            texts << grid.textMatrix(r, c);
    }
    return texts;
}

} // namespace

#define VERIFY_LISTING(grid, records, kind, emptyRows)                                                       \
    do {                                                                                                     \
        verifyListing(grid, records, kind, emptyRows);                                                       \
        if (QTest::currentTestFailed())                                                                      \
            return;                                                                                          \
    } while (false)

class LogicalSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void typicalQueryListsTheMeasuredLowOxygenSamplesInRecordOrderAndPaintsThem() {
        const Records all = layerRecords("kxw93sm");
        QVERIFY2(
            !matching(all, [](const Record& r) { return r.value("dis_oxygen").toDouble() == -99; }).empty(),
            "the layer holds unmeasured oxygen values that the query must not find");
        const Records expected = lowOxygen("kxw93sm");
        QVERIFY(expected.size() >= 3);

        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));

        QCOMPARE(driver.title(), kLowOxygenTitle);
        QCOMPARE(driver.window.queryflag, qint16(1));
        VERIFY_LISTING(driver.grid(), expected, SampleKind::Water, 0);
        for (const Record& record : expected) {
            if (record.hasPoint)
                QVERIFY2(driver.isHighlighted(record.point), qPrintable(record.value("barcode").toString()));
        }
        QVERIFY(driver.prompts.messages.isEmpty());

        driver.clickButton("Command3");
        QVERIFY(driver.window.recordsWindow().isVisible());
        QCOMPARE(driver.window.recordsWindow().windowTitle(),
                 QStringLiteral("Selected Records: dis_oxygen < 5 AND dis_oxygen <> -99"));
        driver.window.recordsWindow().hide();
    }

    void aFoundSampleWithoutLocationIsListedWithItsNumberAndValues() {
        const Records expected = lowOxygen("kxw93sm");
        QVERIFY(!expected.empty());
        const Record& unlocated = expected.back();
        QVERIFY2(!unlocated.hasPoint && unlocated.value("dis_oxygen").toDouble() == 3.4,
                 "the layer ends with a low-oxygen sample without geometry");

        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));

        const int row = int(expected.size());
        const QString mismatch = rowMismatch(driver.grid(), row, row, unlocated, SampleKind::Water);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QCOMPARE(driver.grid().textMatrix(row, 15), QStringLiteral("3.4"));
    }

    void twoActivePeriodsAreSearchedWithOneExpressionAndNumberedOnAcrossLayers() {
        const Records expected = joined(lowOxygen("kxw93sm"), lowOxygen("kxw93fl"));

        WindowDriver driver;
        driver.clickBox("chkwater_0");
        driver.clickBox("chkwater_1");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));

        QCOMPARE(driver.title(), kLowOxygenTitle);
        VERIFY_LISTING(driver.grid(), expected, SampleKind::Water, 0);
        QVERIFY(driver.isHighlighted(firstWithPoint(lowOxygen("kxw93fl")).point));
    }

    void zoomingAfterAQueryRebuildsTheSameRowsAndRepaintsTheHighlights() {
        const Record hit = firstWithPoint(lowOxygen("kxw93sm"));
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));
        const QStringList listed = gridTexts(driver.grid());
        QVERIFY(driver.isHighlighted(hit.point));

        // Emptied here, so that only a new run of the query can fill the grid again.
        driver.grid().clear();
        const QPoint before = driver.pixelOf(hit.point);
        driver.zoomInAround(hit.point + QPointF(30, 0), 60);
        QVERIFY2(driver.pixelOf(hit.point) != before, "the view changed");
        QVERIFY(driver.isHighlighted(hit.point));
        QCOMPARE(gridTexts(driver.grid()), listed);
        QCOMPARE(driver.title(), kLowOxygenTitle);

        driver.grid().clear();
        driver.clickToolbar("Full Extent");
        QVERIFY(driver.isHighlighted(hit.point));
        QCOMPARE(gridTexts(driver.grid()), listed);
    }

    void tickingAnotherSampleBoxEndsTheSelection() {
        const Record hit = firstWithPoint(lowOxygen("kxw93sm"));
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));
        QVERIFY(driver.isHighlighted(hit.point));

        driver.clickBox("chkwater_1");
        QCOMPARE(driver.window.queryflag, qint16(0));
        QVERIFY2(!driver.isHighlighted(hit.point), "the redraw after the click paints no highlight");
        driver.clickButton("Command3");
        QCOMPARE(driver.prompts.messages, QStringList{"No Selected Features"});
        QVERIFY(!driver.window.recordsWindow().isVisible());
    }

    void aRejectedSearchIsReportedOnceNamingTheLayerAndCancelsTheRequest() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Temperature", ">", "abc"));
        driver.settle();

        QCOMPARE(driver.prompts.messages.size(), 1);
        QVERIFY2(driver.prompts.messages.first().contains("kxw93sm"),
                 qPrintable(driver.prompts.messages.first()));
        QCOMPARE(driver.window.queryflag, qint16(0));

        driver.clickToolbar("Full Extent");
        driver.settle();
        QCOMPARE(driver.prompts.messages.size(), 1);
        driver.clickButton("Command3");
        QCOMPARE(driver.prompts.messages.last(), QStringLiteral("No Selected Features"));
    }

    void fishSpeciesQueryListsThatSpeciesCatchPlusOneEmptyRowAndPaintsEveryMatchingSite() {
        const Records expected = withSpecies(tableRecords("kxr93sm"), "Bluegill");
        QVERIFY(gridCodes(expected).contains(QSet<int>{12, 20, 33}));
        const Records sites = layerRecords("kxf93sm");

        WindowDriver driver;
        driver.clickBox("chkfish_0");
        QVERIFY(driver.selectLogically("Species", "=", "Bluegill"));

        QCOMPARE(driver.title(), QStringLiteral("Kesselby - Selected Records: species = 'Bluegill'"));
        VERIFY_LISTING(driver.grid(), expected, SampleKind::Fish, 1);
        for (int code : gridCodes(expected))
            QVERIFY2(driver.isHighlighted(site(sites, code).point), qPrintable(QString::number(code)));
        // A site well away from the matching ones stays as the layer draws it.
        for (const Record& other : sites) {
            bool apart = !gridCodes(expected).contains(other.gridCode());
            for (int code : gridCodes(expected)) {
                const QPoint d = driver.pixelOf(other.point) - driver.pixelOf(site(sites, code).point);
                apart = apart && d.manhattanLength() > 24;
            }
            if (apart) {
                QVERIFY(!driver.isHighlighted(other.point));
                break;
            }
        }
    }

    void vegetationQueryWhoseRecordsAllBelongToOneSiteListsThemAndPaintsThatSite() {
        const Records expected = withSpecies(tableRecords("kxv98d"), "Wild Rice");
        QCOMPARE(gridCodes(expected), QSet<int>{33});

        WindowDriver driver;
        driver.clickBox("chkveg_0");
        QVERIFY(driver.selectLogically("Species", "=", "Wild Rice"));

        VERIFY_LISTING(driver.grid(), expected, SampleKind::Veg, 1);
        QVERIFY(driver.isHighlighted(site(layerRecords("kxv98"), 33).point));
    }

    void aSecondVegetationLayerContinuesTheNumberingInTheFirstListingsEmptyRow() {
        // The species found most often in the first year that the second year has too.
        const Records first = tableRecords("kxv98d");
        const Records second = tableRecords("kxv99d");
        QMap<QString, int> counts;
        for (const Record& record : first)
            ++counts[record.value("species").toString()];
        QString species;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (!withSpecies(second, it.key()).empty() && (species.isEmpty() || it.value() > counts[species]))
                species = it.key();
        }
        QVERIFY(!species.isEmpty());
        const Records expected = joined(withSpecies(first, species), withSpecies(second, species));

        WindowDriver driver;
        driver.clickBox("chkveg_0");
        driver.clickBox("chkveg_1");
        QVERIFY(driver.selectLogically("Species", "=", species));

        VERIFY_LISTING(driver.grid(), expected, SampleKind::Veg, 1);
    }
};

int runLogicalSelectionTests(int argc, char** argv) {
    LogicalSelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_logical_selection.moc"
