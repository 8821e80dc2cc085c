// The layer boxes by real clicks: one sample kind at a time, the draw/query list, the base-map
// alternatives, and what the clicks do to the map and the records window.

#include "../support/main_window_harness.h"

#include "catalogue/sampling_periods.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <QTimer>

using namespace quillfen;
using namespace testing;

namespace {

int tickedSampleBoxes(MainWindow& window) {
    int ticked = 0;
    for (SampleKind kind : allSampleKinds()) {
        for (QCheckBox* box : window.layerSelection.boxes(kind))
            ticked += box->isChecked() ? 1 : 0;
    }
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

}  // namespace

class LayerSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void periodTablesGiveTheCodesOfTheirRows();
    void everyBoxHasItsCaptionTabAndEnabledState();
    void tickingAnotherKindReplacesTheWholeSelection();
    void switchingKindsClearsEntriesOfTheOldKindToo();
    void furtherBoxesOfTheActiveKindAddPeriods();
    void untickingTheLastBoxEmptiesTheListButKeepsTheKind();
    void aDisabledBoxCannotBeTicked();
    void theTwoLandCoverageBoxesAreAlternatives();
    void riverMilesBringsTheLabelledMilesLayer();
    void repeatedClicksNeverGrowTheStackBeyondKeptPlusCurrent();
    void aClickOnABoxDrawsEachLayerOnce_data();
    void aClickOnABoxDrawsEachLayerOnce();
    void aSampleClickDiscardsTheRecordsWindowAndABaseClickDoesNot();
    void aSampleClickEmptiesTheQueryWindowsValueBox();
};

void LayerSelectionTest::periodTablesGiveTheCodesOfTheirRows() {
    QCOMPARE(samplingPeriods(SampleKind::Water).size(), 38);
    QCOMPARE(samplingPeriods(SampleKind::Fish).size(), 29);
    QCOMPARE(samplingPeriods(SampleKind::Invert).size(), 10);
    QCOMPARE(samplingPeriods(SampleKind::Veg).size(), 5);
    QCOMPARE(samplingPeriods(SampleKind::Water)[2].periodCode, QString("94wn"));
    QCOMPARE(samplingPeriods(SampleKind::Water)[37].periodCode, QString("02fl"));
    QCOMPARE(samplingPeriods(SampleKind::Fish)[2].periodCode, QString("94sp"));
    QCOMPARE(samplingPeriods(SampleKind::Fish)[28].periodCode, QString("02fl"));
    QCOMPARE(layerCode(SampleKind::Invert, samplingPeriods(SampleKind::Invert)[7].periodCode), QString("kxi00"));
    QCOMPARE(layerCode(SampleKind::Veg, samplingPeriods(SampleKind::Veg)[0].periodCode), QString("kxv98"));
    QCOMPARE(companionTable(SampleKind::Fish, "93sm"), QString("kxr93sm"));
    QCOMPARE(companionTable(SampleKind::Veg, "98"), QString("kxv98d"));
    // Index and season follow the calendar; the year after 99 is 00.
    for (SampleKind kind : {SampleKind::Water, SampleKind::Fish}) {
        const QStringList seasons = kind == SampleKind::Water ? QStringList{"wn", "sp", "sm", "fl"}
                                                              : QStringList{"sp", "sm", "fl"};
        for (const SamplingPeriod& p : samplingPeriods(kind)) {
            if (p.index < 2)
                continue;
            const int year = 1994 + (p.index - 2) / int(seasons.size());
            const QString code = QString::number(year % 100).rightJustified(2, '0') +
                                 seasons[(p.index - 2) % seasons.size()];
            QCOMPARE(p.periodCode, code);
        }
    }
    for (const SamplingPeriod& p : samplingPeriods(SampleKind::Invert))
        QCOMPARE(p.periodCode.size(), 2);
}

void LayerSelectionTest::everyBoxHasItsCaptionTabAndEnabledState() {
    ScriptedPrompts prompts;
    MainWindow window;
    auto* panel = control<TabPanel>(&window, "SSTab1");
    QStringList captions;
    for (int i = 0; i < panel->count(); ++i)
        captions << panel->tabButton(i)->text();
    QCOMPARE(captions, QStringList({"WQ 93-96", "FSH 93-96", "FSH 97-99", "Macro Inverts", "WQ 97-99", "WQ 00-02",
                                    "FSH 00-02", "Veg", "Base Map"}));
    for (SampleKind kind : allSampleKinds()) {
        for (const SamplingPeriod& p : samplingPeriods(kind)) {
            auto* box = control<QCheckBox>(&window, QString("%1_%2").arg(boxArrayName(kind)).arg(p.index));
            QCOMPARE(box->text(), p.caption);
            QVERIFY(panel->page(p.tab)->isAncestorOf(box));
            QCOMPARE(box->isEnabled(), p.enabled);
            QVERIFY(!box->isChecked());
        }
    }
    QVERIFY(!control<QCheckBox>(&window, "chkwater_37")->isEnabled());
    QCOMPARE(control<QCheckBox>(&window, "chkwater_37")->text(), QString("Fall 2002"));
    QVERIFY(!control<QCheckBox>(&window, "chkfish_3")->isEnabled());
    QCOMPARE(control<QCheckBox>(&window, "chkfish_3")->text(), QString("Summer 1994"));
}

void LayerSelectionTest::tickingAnotherKindReplacesTheWholeSelection() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkfish_0");
    clickBox(window, "chkfish_1");
    QCOMPARE(nonEmptyEntries(window), QStringList({"0=93sm", "1=93fl"}));
    QCOMPARE(window.component(), QString("f"));
    clickBox(window, "chkwater_3");
    QCOMPARE(tickedSampleBoxes(window), 1);
    QCOMPARE(nonEmptyEntries(window), QStringList("3=94sp"));
    QCOMPARE(window.component(), QString("w"));
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kx_out", "kxlw", "kxw94sp"}));
}

void LayerSelectionTest::switchingKindsClearsEntriesOfTheOldKindToo() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_33");
    QCOMPARE(nonEmptyEntries(window), QStringList("33=01fl"));
    clickBox(window, "chkinvert_0");
    QCOMPARE(nonEmptyEntries(window), QStringList("0=93"));
    QCOMPARE(window.component(), QString("i"));
    QVERIFY(!control<QCheckBox>(&window, "chkwater_33")->isChecked());
}

void LayerSelectionTest::furtherBoxesOfTheActiveKindAddPeriods() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkveg_4");
    clickBox(window, "chkveg_0");
    QCOMPARE(nonEmptyEntries(window), QStringList({"0=98", "4=02"}));
    // Vegetation draws above everything; periods load in index order.
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kx_out", "kxlw", "kxv98", "kxv02"}));
}

void LayerSelectionTest::untickingTheLastBoxEmptiesTheListButKeepsTheKind() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkinvert_7");
    QCOMPARE(stackBottomToTop(window.map()).last(), QString("kxi00"));
    clickBox(window, "chkinvert_7");
    QVERIFY(nonEmptyEntries(window).isEmpty());
    QVERIFY(!window.layerSelection.query_layer_selected());
    QCOMPARE(window.component(), QString("i"));
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kx_out", "kxlw"}));
    clickButton(window, "Command3");
    QCOMPARE(prompts.messages, QStringList("No Draw/Query Layer(s) Selected"));
}

void LayerSelectionTest::aDisabledBoxCannotBeTicked() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_37");
    clickBox(window, "chkfish_3");
    QCOMPARE(tickedSampleBoxes(window), 0);
    QVERIFY(window.component().isEmpty());
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kxlw"}));
}

void LayerSelectionTest::theTwoLandCoverageBoxesAreAlternatives() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "Check_landcover");
    QVERIFY(control<QCheckBox>(&window, "Check_landcover")->isChecked());
    QVERIFY(!control<QCheckBox>(&window, "check_land_water")->isChecked());
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kx_out", "kxlw"}));
    clickBox(window, "check_land_water");
    QVERIFY(control<QCheckBox>(&window, "check_land_water")->isChecked());
    QVERIFY(!control<QCheckBox>(&window, "Check_landcover")->isChecked());
    // Base clicks leave the selection state alone.
    QVERIFY(window.component().isEmpty());
}

void LayerSelectionTest::riverMilesBringsTheLabelledMilesLayer() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "Check30");
    auto miles = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(window.map().layerNamed("kxmiles"));
    QVERIFY(miles);
    auto labels = std::dynamic_pointer_cast<mapcontrol::TextRenderer>(miles->renderer);
    QVERIFY(labels);
    QCOMPARE(labels->field, QString("mile"));
    clickBox(window, "Check30");
    QVERIFY(!window.map().layerNamed("kxmiles"));
    clickBox(window, "Check30");
    miles = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(window.map().layerNamed("kxmiles"));
    QVERIFY(std::dynamic_pointer_cast<mapcontrol::TextRenderer>(miles->renderer));
}

void LayerSelectionTest::repeatedClicksNeverGrowTheStackBeyondKeptPlusCurrent() {
    ScriptedPrompts prompts;
    MainWindow window;
    const mapcontrol::LayerPtr keptBottom = window.map().layer(window.map().layerCount() - 1);
    for (int round = 0; round < 6; ++round) {
        clickBox(window, "chkwater_0");
        clickBox(window, "chkStructures");
    }
    clickBox(window, "chkwater_1");
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kx_out", "kxlw", "kxw93fl"}));
    QCOMPARE(window.map().layer(window.map().layerCount() - 1), keptBottom);
}

void LayerSelectionTest::aClickOnABoxDrawsEachLayerOnce_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("sample box") << "chkwater_0";
    QTest::newRow("base box") << "chkStructures";
    QTest::newRow("river miles") << "Check30";
}

void LayerSelectionTest::aClickOnABoxDrawsEachLayerOnce() {
    QFETCH(QString, box);
    ScriptedPrompts prompts;
    MainWindow window;
    QCoreApplication::processEvents();
    QList<int> drawn;
    connect(&window.map(), &mapcontrol::MapControl::layerDrawn, &window, [&](int position) { drawn << position; });
    clickBox(window, box);
    // A redraw left waiting for the event loop would come now.
    QCoreApplication::processEvents();
    QList<int> bottomToTop;
    for (int position = window.map().layerCount() - 1; position >= 0; --position)
        bottomToTop << position;
    QCOMPARE(drawn, bottomToTop);
}

void LayerSelectionTest::aSampleClickDiscardsTheRecordsWindowAndABaseClickDoesNot() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_0");
    window.queryflag = 1;
    window.strSelRecordsTitle = "Selected Records: Graphical Query";
    clickButton(window, "Command3");
    SelRecsWindow* shown = &window.recordsWindow();
    QVERIFY(shown->isVisible());
    clickBox(window, "chkStructures");
    QCOMPARE(&window.recordsWindow(), shown);
    QVERIFY(shown->isVisible());
    clickBox(window, "chkwater_1");
    QCOMPARE(window.queryflag, qint16(0));
    QVERIFY(window.recordsWindow().isHidden());
    clickButton(window, "Command3");
    QCOMPARE(prompts.messages, QStringList("No Selected Features"));
}

void LayerSelectionTest::aSampleClickEmptiesTheQueryWindowsValueBox() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_0");
    // Submit "Dissolved Oxygen < 12" once the query window shows.
    QTimer::singleShot(0, [&] {
        QWidget* query = QApplication::activeModalWidget();
        QVERIFY(query);
        clickListItem(control<QListWidget>(query, "List1"), "Dissolved Oxygen");
        clickListItem(control<QListWidget>(query, "List2"), "<");
        QTest::keyClicks(control<QComboBox>(query, "Combo1"), "12");
        QTest::mouseClick(control<QPushButton>(query, "Command2"), Qt::LeftButton);
    });
    clickButton(window, "Command2");
    QVERIFY(window.queryWindow());
    QCOMPARE(control<QComboBox>(window.queryWindow(), "Combo1")->currentText(), QString("12"));
    clickBox(window, "chkwater_1");
    QCOMPARE(control<QComboBox>(window.queryWindow(), "Combo1")->currentText(), QString());
}

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    LayerSelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_layer_selection.moc"
