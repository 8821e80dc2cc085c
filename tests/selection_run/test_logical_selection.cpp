// Logical selections end to end: the query window's condition searched on every draw/query
// layer at each redraw, the hits painted yellow and their records in the grid, compared with
// what the data files hold.

#include "data_files.h"
#include "window_driver.h"

#include "records/record_grid_model.h"

using namespace datafiles;
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

} // namespace

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
