// Logical selections end to end: the query window's condition searched on every draw/query
// layer at each redraw, the hits painted yellow and their records in the grid, compared with
// what the data files hold.

#include "data_files.h"

#include "mapcontrol/map_control.h"
#include "query_builder/query_window.h"
#include "records/record_grid_model.h"
#include "support/main_window_harness.h"

using namespace datafiles;
using testing::WindowDriver;
using quillfen::SampleKind;

namespace {

const QString kLowOxygen = QStringLiteral("dis_oxygen < 5 AND dis_oxygen <> -99");

/// What the query "Dissolved Oxygen < 5" finds: a measured (not -99) value below 5.
bool isLowOxygen(const Record& r) {
    const QVariant value = r.value("dis_oxygen");
    return !value.isNull() && value.toDouble() != -99 && value.toDouble() < 5;
}

/// The first low-oxygen sample of the first summer that has a place on the map.
Record lowOxygenHit() {
    const Records hits =
        matching(layerRecords("kxw93sm"), [](const Record& r) { return isLowOxygen(r) && r.hasPoint(); });
    if (hits.empty())
        QTest::qFail("no located low-oxygen sample", __FILE__, __LINE__);
    return hits.empty() ? Record() : hits.front();
}

QStringList gridTexts(const quillfen::RecordGridModel& grid) {
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c)
            texts << grid.textMatrix(r, c);
    }
    return texts;
}

/// Opens the main window with the first summer's water box ticked and "Dissolved Oxygen < 5"
/// selected.
void selectLowOxygen(WindowDriver& driver) {
    driver.clickBox("chkwater_0");
    QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));
}

/// What was shown before a query window was opened and closed without a successful submit.
enum class Shown {
    LogicalQuery,             ///< water "Dissolved Oxygen < 5"
    PolygonAfterQuery,        ///< the same, then a polygon drawn over the left half of the map
    PolygonOfAnotherKind,     ///< an invertebrate query, then fish ticked and a polygon drawn
    NothingAfterAKindChange,  ///< an invertebrate query, then fish ticked
};

void selectLeftHalf(WindowDriver& driver) {
    driver.clickButton("Command4");
    const QRect area = driver.window.map().rect().adjusted(4, 4, -4, -4);
    const int right = area.center().x();
    driver.drawPolygon({area.topLeft(), QPoint(right, area.top()), QPoint(right, area.bottom()), area.bottomLeft()});
}

void show(WindowDriver& driver, Shown shown) {
    if (shown == Shown::LogicalQuery || shown == Shown::PolygonAfterQuery) {
        selectLowOxygen(driver);
    } else {
        driver.clickBox("chkinvert_0");
        QVERIFY(driver.selectLogically("Percent Veg", ">", "1-20%"));
        driver.clickBox("chkfish_0");
    }
    if (shown == Shown::PolygonAfterQuery || shown == Shown::PolygonOfAnotherKind)
        selectLeftHalf(driver);
}

} // namespace

Q_DECLARE_METATYPE(Shown)

class LogicalSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void aQueryListsWhatTheFilesHoldNumberedAcrossLayersAndPaintsEveryHit_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("periods");
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("oper");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expression");
        // Water rows list the unlocated low-oxygen sample with its values and leave out -99.
        QTest::newRow("water, one period") << int(SampleKind::Water) << 1 << "Dissolved Oxygen"
                                           << "<"
                                           << "5" << kLowOxygen;
        QTest::newRow("water, two periods") << int(SampleKind::Water) << 2 << "Dissolved Oxygen"
                                            << "<"
                                            << "5" << kLowOxygen;
        QTest::newRow("fish species over several sites") << int(SampleKind::Fish) << 1 << "Species"
                                                         << "="
                                                         << "Bluegill"
                                                         << "species = 'Bluegill'";
        QTest::newRow("vegetation records of one site") << int(SampleKind::Veg) << 1 << "Species"
                                                        << "="
                                                        << "Wild Rice"
                                                        << "species = 'Wild Rice'";
        // The second vegetation layer continues the numbering in the first listing's empty row.
        const Records second = tableRecords("kxv99d");
        for (const Record& record : tableRecords("kxv98d")) {
            const QString species = record.value("species").toString();
            if (!withSpecies(second, species).empty()) {
                QTest::newRow("vegetation, two periods") << int(SampleKind::Veg) << 2 << "Species"
                                                         << "=" << species << "species = '" + species + "'";
                break;
            }
        }
    }

    void aQueryListsWhatTheFilesHoldNumberedAcrossLayersAndPaintsEveryHit() {
        QFETCH(int, kind);
        QFETCH(int, periods);
        QFETCH(QString, value);
        QFETCH(QString, expression);
        const auto sampleKind = SampleKind(kind);
        Records expected;
        QVector<QPointF> hits, misses;
        for (int i = 0; i < periods; ++i) {
            const QString period = quillfen::samplingPeriods(sampleKind).at(i).periodCode;
            const Records layer = layerRecords(quillfen::layerCode(sampleKind, period));
            const Records found =
                sampleKind == SampleKind::Water
                    ? matching(layer, isLowOxygen)
                    : withSpecies(tableRecords(quillfen::companionTable(sampleKind, period)), value);
            expected = joined(expected, found);
            const bool isWater = sampleKind == SampleKind::Water;
            for (const Record& record : layer) {
                const bool hit = isWater ? isLowOxygen(record) : gridCodes(found).contains(record.gridCode());
                if (record.hasPoint())
                    (hit ? hits : misses) << record.point();
            }
        }
        QVERIFY(!expected.empty());

        WindowDriver driver;
        for (int i = 0; i < periods; ++i)
            driver.clickBox(quillfen::boxArrayName(sampleKind) + "_" + QString::number(i));
        QFETCH(QString, parameter);
        QFETCH(QString, oper);
        QVERIFY(driver.selectLogically(parameter, oper, value));

        QCOMPARE(driver.title(), "Kesselby - Selected Records: " + expression);
        QCOMPARE(driver.window.queryflag, qint16(1));
        VERIFY_LISTING(driver.grid(), expected, sampleKind, sampleKind == SampleKind::Water ? 0 : 1);
        for (const QPointF& hit : hits)
            QVERIFY(driver.isHighlighted(hit));
        // A point well away from every hit stays as its layer draws it.
        for (const QPointF& miss : misses) {
            const auto near = [&](const QPointF& hit) {
                return (driver.pixelOf(miss) - driver.pixelOf(hit)).manhattanLength() <= 24;
            };
            if (std::none_of(hits.begin(), hits.end(), near)) {
                QVERIFY(!driver.isHighlighted(miss));
                break;
            }
        }
        QVERIFY(driver.prompts.messages.isEmpty());
        driver.clickButton("Command3");
        QCOMPARE(driver.window.recordsWindow().windowTitle(), "Selected Records: " + expression);
        driver.window.recordsWindow().hide();
    }

    void zoomingAfterAQueryRebuildsTheSameRowsAndRepaintsTheHighlights() {
        const Record hit = lowOxygenHit();
        WindowDriver driver;
        selectLowOxygen(driver);
        const QStringList listed = gridTexts(driver.grid());
        QVERIFY(driver.isHighlighted(hit.point()));

        // Emptied each time, so that only a new run of the query can fill the grid again.
        driver.grid().clear();
        const QPoint before = driver.pixelOf(hit.point());
        driver.zoomInAround(hit.point() + QPointF(30, 0), 60);
        QVERIFY2(driver.pixelOf(hit.point()) != before, "the view changed");
        QVERIFY(driver.isHighlighted(hit.point()));
        QCOMPARE(gridTexts(driver.grid()), listed);
        QCOMPARE(driver.title(), "Kesselby - Selected Records: " + kLowOxygen);

        driver.grid().clear();
        driver.clickToolbar("Full Extent");
        QVERIFY(driver.isHighlighted(hit.point()));
        QCOMPARE(gridTexts(driver.grid()), listed);
    }

    void tickingAnotherSampleBoxEndsTheSelection() {
        const Record hit = lowOxygenHit();
        WindowDriver driver;
        selectLowOxygen(driver);
        QVERIFY(driver.isHighlighted(hit.point()));

        driver.clickBox("chkwater_1");
        QCOMPARE(driver.window.queryflag, qint16(0));
        QVERIFY2(!driver.isHighlighted(hit.point()), "the redraw after the click paints no highlight");
        driver.clickButton("Command3");
        QCOMPARE(driver.prompts.messages, QStringList{"No Selected Features"});
        QVERIFY(!driver.window.recordsWindow().isVisible());
    }

    void aQueryWindowClosedWithoutSubmittingLeavesTheSelectionShownBefore_data() {
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<bool>("submitFirst");
        QTest::addColumn<QString>("title");
        const QString query = "Kesselby - Selected Records: " + kLowOxygen;
        const QString graphical = QStringLiteral("Kesselby - Selected Records: Graphical Query");
        QTest::newRow("cancel after a query") << Shown::LogicalQuery << false << query;
        QTest::newRow("failed submit and cancel after a query") << Shown::LogicalQuery << true << query;
        QTest::newRow("failed submit and cancel after a polygon that followed a query")
            << Shown::PolygonAfterQuery << true << graphical;
        QTest::newRow("cancel after a polygon that followed a query") << Shown::PolygonAfterQuery << false << graphical;
        QTest::newRow("failed submit and cancel after a polygon on another kind than the query's")
            << Shown::PolygonOfAnotherKind << true << graphical;
        // A box click leaves the caption as it was; no selection is requested any more.
        QTest::newRow("failed submit and cancel after a change of kind")
            << Shown::NothingAfterAKindChange << true << "Kesselby - Selected Records: pct_veg > '1-20%'";
    }

    void aQueryWindowClosedWithoutSubmittingLeavesTheSelectionShownBefore() {
        QFETCH(Shown, shown);
        QFETCH(bool, submitFirst);
        QFETCH(QString, title);
        WindowDriver driver;
        show(driver, shown);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(driver.title(), title);
        const QStringList listed = gridTexts(driver.grid());
        const qint16 requested = driver.window.queryflag;
        QCOMPARE(requested, qint16(shown == Shown::NothingAfterAKindChange ? 0 : 1));
        if (requested == 1)
            QVERIFY2(!hasNoRecordText(driver.grid()), "the selection lists records");

        QVERIFY(driver.cancelQuery(submitFirst));
        const QStringList checkMessage = submitFirst ? QStringList{"Value not entered."} : QStringList();
        QCOMPARE(driver.prompts.messages, checkMessage);
        QCOMPARE(driver.title(), title);
        QCOMPARE(gridTexts(driver.grid()), listed);
        QCOMPARE(driver.window.queryflag, requested);

        // The next redraw shows the same selection again, and never searches a condition
        // that was not submitted on these layers.
        driver.grid().clear();
        driver.clickToolbar("Full Extent");
        driver.settle();
        QCOMPARE(driver.prompts.messages, checkMessage);
        QCOMPARE(driver.title(), title);
        if (requested == 1)
            QCOMPARE(gridTexts(driver.grid()), listed);
        else
            QVERIFY(hasNoRecordText(driver.grid()));
    }

    void aRejectedSearchIsReportedOnceNamingTheLayerAndCancelsTheRequest() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        // The query window lets no such value through; the condition is handed over as if it
        // had, so that the engine rejects the search.
        QVERIFY(driver.selectLogically("Temperature", ">", "20"));
        driver.window.queryWindow()->condition.query_value_1 = QStringLiteral("abc");
        driver.window.acceptSubmit();
        driver.settle();
        QCOMPARE(driver.prompts.messages.size(), 1);
        QVERIFY2(driver.prompts.messages.first().contains("kxw93sm"),
                 qPrintable(driver.prompts.messages.first()));
        QCOMPARE(driver.window.queryflag, qint16(0));
        QCOMPARE(driver.title(), QStringLiteral("Kesselby"));

        driver.clickToolbar("Full Extent");
        driver.settle();
        driver.clickButton("Command3");
        QCOMPARE(driver.prompts.messages.size(), 2);
        QCOMPARE(driver.prompts.messages.last(), QStringLiteral("No Selected Features"));
    }
};

int runLogicalSelectionTests(int argc, char** argv) {
    LogicalSelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_logical_selection.moc"
