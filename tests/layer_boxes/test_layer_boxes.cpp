// The layer boxes by real clicks: one sample kind at a time, the draw/query list, the base-map
// alternatives, and what the clicks do to the map and the records window.

#include "../support/main_window_harness.h"
#include "support/test_main.h"

#include "catalogue/sampling_periods.h"

#include <QComboBox>
#include <QTest>

using namespace quillfen;
using namespace testing;

namespace {

QStringList tickedBoxes(MainWindow& window) {
    QStringList ticked;
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
        if (box->isChecked())
            ticked << box->objectName();
    }
    ticked.sort();
    return ticked;
}

QStringList nonEmptyEntries(const MainWindow& window) {
    QStringList entries;
    for (int i = 0; i < window.layerSelection.draw_query_list.size(); ++i) {
        if (!window.layerSelection.draw_query_list[i].isEmpty())
            entries << QString("%1=%2").arg(i).arg(window.layerSelection.draw_query_list[i]);
    }
    return entries;
}

} // namespace

class LayerSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void periodCodesFollowTheCalendar() {
        // From the third period on, water quality comes every season and fish every season but
        // winter; the year after 99 is 00.
        for (const auto& [kind, seasons] : {std::pair{SampleKind::Water, QStringList{"wn", "sp", "sm", "fl"}},
                                            std::pair{SampleKind::Fish, QStringList{"sp", "sm", "fl"}}}) {
            for (int i = 2; i < samplingPeriods(kind).size(); ++i)
                QCOMPARE(samplingPeriods(kind)[i].periodCode,
                         QString::number((94 + (i - 2) / seasons.size()) % 100).rightJustified(2, '0') +
                             seasons[(i - 2) % seasons.size()]);
        }
    }

    void everyBoxHasItsCaptionTabAndEnabledState() {
        ScriptedPrompts prompts;
        MainWindow window;
        auto* panel = control<TabPanel>(&window, "SSTab1");
        QStringList captions;
        for (int i = 0; i < panel->count(); ++i)
            captions << panel->tabButton(i)->text();
        QCOMPARE(captions, QStringList({"WQ 93-96", "FSH 93-96", "FSH 97-99", "Macro Inverts", "WQ 97-99",
                                        "WQ 00-02", "FSH 00-02", "Veg", "Base Map"}));
        for (SampleKind kind : allSampleKinds()) {
            for (const SamplingPeriod& p : samplingPeriods(kind)) {
                auto* box =
                    control<QCheckBox>(&window, QString("%1_%2").arg(boxArrayName(kind)).arg(p.index));
                QCOMPARE(box->text(), p.caption);
                QVERIFY(panel->page(p.tab)->isAncestorOf(box));
                QCOMPARE(box->isEnabled(), p.enabled);
            }
        }
    }

    void clicksSetTheTickedBoxesTheListTheKindAndTheStack_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QStringList>("entries"); // the draw/query list's entries that are not empty
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("stack");   // bottom to top
        QTest::addColumn<QString>("viewRecords"); // the message of View Records afterwards
        const QString noLayer = "No Draw/Query Layer(s) Selected";
        const QString noFeatures = "No Selected Features";
        QTest::newRow("boxes of one kind add periods")
            << QStringList{"chkfish_1", "chkfish_0"}
            << QStringList{"check_land_water", "chkfish_0", "chkfish_1"} << QStringList{"0=93sm", "1=93fl"}
            << "f" << QStringList{"kx_out", "kx_out", "kxlw", "kxf93sm", "kxf93fl"} << noFeatures;
        QTest::newRow("another kind replaces the whole selection")
            << QStringList{"chkfish_0", "chkfish_1", "chkwater_3"}
            << QStringList{"check_land_water", "chkwater_3"} << QStringList{"3=94sp"} << "w"
            << QStringList{"kx_out", "kx_out", "kxlw", "kxw94sp"} << noFeatures;
        QTest::newRow("invertebrates replace water")
            << QStringList{"chkwater_33", "chkinvert_0"} << QStringList{"check_land_water", "chkinvert_0"}
            << QStringList{"0=93"} << "i" << QStringList{"kx_out", "kx_out", "kxlw", "kxi93"} << noFeatures;
        // Vegetation draws above everything; periods load in index order.
        QTest::newRow("vegetation replaces invertebrates")
            << QStringList{"chkinvert_7", "chkveg_4", "chkveg_0"}
            << QStringList{"check_land_water", "chkveg_0", "chkveg_4"} << QStringList{"0=98", "4=02"} << "v"
            << QStringList{"kx_out", "kx_out", "kxlw", "kxv98", "kxv02"} << noFeatures;
        QTest::newRow("unticking the last box keeps the kind")
            << QStringList{"chkinvert_7", "chkinvert_7"} << QStringList{"check_land_water"} << QStringList{}
            << "i" << QStringList{"kx_out", "kx_out", "kxlw"} << noLayer;
        QTest::newRow("disabled boxes cannot be ticked")
            << QStringList{"chkwater_37", "chkfish_3"} << QStringList{"check_land_water"} << QStringList{}
            << "" << QStringList{"kx_out", "kxlw"} << noLayer;
        // Base clicks leave the selection alone.
        QTest::newRow("land cover replaces land/water")
            << QStringList{"Check_landcover"} << QStringList{"Check_landcover"} << QStringList{} << ""
            << QStringList{"kx_out", "kx_out", "kxlw"} << noLayer;
        QTest::newRow("and land/water land cover")
            << QStringList{"Check_landcover", "check_land_water"} << QStringList{"check_land_water"}
            << QStringList{} << "" << QStringList{"kx_out", "kx_out", "kxlw"} << noLayer;
        QTest::newRow("layers stack in catalogue order above the kept bottom layer")
            << QStringList{"Check30", "chkStructures", "Check_drg", "chkwater_5", "chkwater_0"}
            << QStringList{"Check30",       "Check_drg",  "check_land_water",
                           "chkStructures", "chkwater_0", "chkwater_5"}
            << QStringList{"0=93sm", "5=94fl"} << "w"
            << QStringList{"kx_out", "kx_out", "kx_drg", "kxlw", "kxstruc", "kxmiles", "kxw93sm", "kxw94fl"}
            << noFeatures;
        QStringList repeated;
        for (int round = 0; round < 6; ++round)
            repeated << "chkwater_0"
                     << "chkStructures";
        QTest::newRow("repeated clicks keep the stack to the kept layer and the boxes ticked")
            << repeated + QStringList{"chkwater_1"} << QStringList{"check_land_water", "chkwater_1"}
            << QStringList{"1=93fl"} << "w" << QStringList{"kx_out", "kx_out", "kxlw", "kxw93fl"}
            << noFeatures;
    }

    void clicksSetTheTickedBoxesTheListTheKindAndTheStack() {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, ticked);
        QFETCH(QStringList, entries);
        QFETCH(QString, kind);
        QFETCH(QStringList, stack);
        QFETCH(QString, viewRecords);
        ScriptedPrompts prompts;
        MainWindow window;
        const mapcontrol::LayerPtr keptBottom = window.map().layer(window.map().layerCount() - 1);
        for (const QString& box : clicks)
            clickBox(window, box);
        QCOMPARE(tickedBoxes(window), ticked);
        QCOMPARE(nonEmptyEntries(window), entries);
        QCOMPARE(window.layerSelection.query_layer_selected(), !entries.isEmpty());
        QCOMPARE(window.component(), kind);
        QCOMPARE(stackBottomToTop(window.map()), stack);
        QCOMPARE(window.map().layer(window.map().layerCount() - 1), keptBottom);
        clickButton(window, "Command3");
        QCOMPARE(prompts.messages, QStringList(viewRecords));
    }

    void riverMilesBringsTheLabelledMilesLayer() {
        ScriptedPrompts prompts;
        MainWindow window;
        const auto milesLabels = [&window] {
            auto miles =
                std::dynamic_pointer_cast<mapcontrol::VectorLayer>(window.map().layerNamed("kxmiles"));
            auto labels =
                miles ? std::dynamic_pointer_cast<mapcontrol::TextRenderer>(miles->renderer) : nullptr;
            return labels ? labels->field : QString();
        };
        clickBox(window, "Check30");
        QCOMPARE(milesLabels(), QString("mile"));
        clickBox(window, "Check30");
        QVERIFY(!window.map().layerNamed("kxmiles"));
        clickBox(window, "Check30");
        QCOMPARE(milesLabels(), QString("mile"));
    }

    void aClickOnABoxDrawsEachLayerOnce_data() {
        QTest::addColumn<QString>("box");
        // A base box draws through the same call as a sample box; River Miles then builds labels.
        QTest::newRow("sample box") << "chkwater_0";
        QTest::newRow("river miles") << "Check30";
    }

    void aClickOnABoxDrawsEachLayerOnce() {
        QFETCH(QString, box);
        ScriptedPrompts prompts;
        MainWindow window;
        QCoreApplication::processEvents();
        QList<int> drawn;
        connect(&window.map(), &mapcontrol::MapControl::layerDrawn, &window,
                [&](int position) { drawn << position; });
        clickBox(window, box);
        // A redraw left waiting for the event loop would come now.
        QCoreApplication::processEvents();
        QList<int> bottomToTop;
        for (int position = window.map().layerCount() - 1; position >= 0; --position)
            bottomToTop << position;
        QCOMPARE(drawn, bottomToTop);
    }

    void aSampleClickDiscardsTheRecordsWindowAndABaseClickDoesNot() {
        ScriptedPrompts prompts;
        MainWindow window;
        clickBox(window, "chkwater_0");
        clickButton(window, "Command4");
        window.strSelRecordsTitle = "Selected Records: Graphical Query";
        clickButton(window, "Command3");
        SelRecsWindow* shown = &window.recordsWindow();
        QVERIFY(shown->isVisible());
        clickBox(window, "chkStructures");
        QCOMPARE(&window.recordsWindow(), shown);
        QVERIFY(shown->isVisible());
        clickBox(window, "chkwater_1");
        QCOMPARE(window.queryflag(), MainWindow::QueryFlag::None);
        QVERIFY(window.recordsWindow().isHidden());
        clickButton(window, "Command3");
        QCOMPARE(prompts.messages, QStringList("No Selected Features"));
    }

    void aSampleClickEmptiesTheQueryWindowsValueBox() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "12"));
        QCOMPARE(control<QComboBox>(driver.window.queryWindow(), "Combo1")->currentText(), QString("12"));
        driver.clickBox("chkwater_1");
        QCOMPARE(control<QComboBox>(driver.window.queryWindow(), "Combo1")->currentText(), QString());
    }
};

QUILLFEN_TEST(LayerSelectionTest)

#include "test_layer_boxes.moc"
