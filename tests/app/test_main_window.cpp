// The main window as a user meets it: start-up, command buttons and their messages, the map
// toolbar, the coordinate readout.

#include "../support/main_window_harness.h"

#include "app/coordinate_readout.h"
#include "app/tab_panel.h"
#include "window_parts/twips.h"
#include "mapcontrol/map_control.h"

#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QTest>

using namespace quillfen;
using namespace testing;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheBaseMapInFrontAndTheLandWaterCoverageLoaded();
    void placesControlsAtTheirDesignedPositions();
    void theTabInFrontStandsNextToItsPageAndEveryTabKeepsItsColumn();
    void commandsAskForADrawQueryLayerFirst();
    void viewRecordsBeforeAnySelectionSaysNoSelectedFeatures();
    void selectGraphicallyClearsTitleAndGridEvenWithoutALayer();
    void selectGraphicallyArmsTheSelectionAndReleasesZoomIn();
    void recordsWindowHiddenByExitShowsTheSameRecordsAgain();
    void drawingLabelIsHiddenBetweenDrawings();
    void coordinateTextIsCutNotRounded_data();
    void coordinateTextIsCutNotRounded();
    void mouseMoveShowsTheMapCoordinates();
    void zoomOutGrowsTheViewInOneClickAndKeepsZoomInPressed();
    void zoomInAndPanReleaseEachOther();
    void draggingARectangleWithZoomInZoomsToItAndFullExtentShowsEverything();
    void aClickWithZoomInZoomsInTwoTimesAboutThePoint();
    void mouseDownWithNoToolPressedLeavesTheViewAlone();
    void panMovesTheViewWithTheMouse();
};

void MainWindowTest::startsWithTheBaseMapInFrontAndTheLandWaterCoverageLoaded() {
    ScriptedPrompts prompts;
    MainWindow window;
    QCoreApplication::processEvents();
    QCOMPARE(window.objectName(), QString("main"));
    QCOMPARE(window.windowTitle(), QString("Kesselby"));
    QCOMPARE(control<TabPanel>(&window, "SSTab1")->currentIndex(), 8);
    QVERIFY(control<QCheckBox>(&window, "check_land_water")->isChecked());
    for (const char* name : {"Check_landcover", "chkStructures", "Check30", "Check_drg"})
        QVERIFY(!control<QCheckBox>(&window, name)->isChecked());
    QCOMPARE(stackBottomToTop(window.map()), QStringList({"kx_out", "kxlw"}));
    QCOMPARE(window.queryflag, qint16(0));
    QVERIFY(window.component().isEmpty());
    QVERIFY(!window.recordsWindow().isVisible());
    QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join("; ")));
    // The view starts at the extent of the white base layer.
    const mapcontrol::Rect base = window.map().layer(1)->extent();
    const mapcontrol::Rect view = window.map().viewBounds();
    QVERIFY(view.contains(QPointF(base.minX, base.minY)) && view.contains(QPointF(base.maxX, base.maxY)));
}

void MainWindowTest::placesControlsAtTheirDesignedPositions() {
    ScriptedPrompts prompts;
    MainWindow window;
    QCOMPARE(window.centralWidget()->size(), QSize(twips(11145), twips(9090)));
    QCOMPARE(control(&window, "Map1")->geometry(), twipsRect(120, 1320, 6855, 7095));
    QCOMPARE(control(&window, "SSTab1")->geometry(), twipsRect(7080, 480, 3855, 7935));
    QCOMPARE(control(&window, "Command1")->geometry(), twipsRect(10080, 8520, 975, 495));
    QCOMPARE(control<QPushButton>(&window, "Command4")->text(), QString("Select Graphically"));
    QCOMPARE(control<QPushButton>(&window, "button_print")->text(), QString("Print to .BMP File"));
    // The wait label lies exactly over the reach name.
    QCOMPARE(control(&window, "Label_wait")->pos(), control(&window, "LblPoolName")->pos());
    QStringList keys;
    for (QAction* action : control<QToolBar>(&window, "Toolbar1")->actions())
        keys << action->text() + "|" + action->toolTip();
    QCOMPARE(keys, QStringList({"Zoom In|Zoom In", "Zoom Out|Zoom Out", "Pan|Pan", "Full Extent|Full Extent",
                                "Help|Help"}));
}

void MainWindowTest::theTabInFrontStandsNextToItsPageAndEveryTabKeepsItsColumn() {
    ScriptedPrompts prompts;
    MainWindow window;
    auto* panel = control<TabPanel>(&window, "SSTab1");
    const int tabWidth = panel->width() / 4;
    auto* box = control(&window, "chkwater_0");
    const QRect boxPlace = box->geometry();
    for (int front : {8, 0, 5, 3, 8}) {
        QTest::mouseClick(panel->tabButton(front), Qt::LeftButton);
        QCOMPARE(panel->currentIndex(), front);
        QVERIFY(panel->tabButton(front)->isChecked());
        QCOMPARE(panel->tabButton(front)->geometry().bottom() + 1, panel->headerHeight());
        QSet<int> tops;
        for (int i = 0; i < panel->count(); ++i) {
            const QRect tab = panel->tabButton(i)->geometry();
            QCOMPARE(tab.left(), (i % 4) * tabWidth);
            QCOMPARE(tab.width(), tabWidth);
            tops.insert(tab.top());
            // Tabs of one row stay together.
            QCOMPARE(tab.top(), panel->tabButton(i / 4 * 4)->geometry().top());
        }
        QCOMPARE(tops.size(), 3);
    }
    // At start, as designed, the rows read from the top in their order.
    QCOMPARE(panel->tabButton(0)->geometry().top(), 0);
    QCOMPARE(box->geometry(), boxPlace);
}

void MainWindowTest::commandsAskForADrawQueryLayerFirst() {
    ScriptedPrompts prompts;
    MainWindow window;
    for (const char* command : {"Command2", "Command3", "Command4"})
        clickButton(window, command);
    QCOMPARE(prompts.messages, QStringList(3, "No Draw/Query Layer(s) Selected"));
    QCOMPARE(window.queryflag, qint16(0));
    QVERIFY(!window.queryWindow());
}

void MainWindowTest::viewRecordsBeforeAnySelectionSaysNoSelectedFeatures() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_0");
    clickButton(window, "Command3");
    QCOMPARE(prompts.messages, QStringList("No Selected Features"));
    QVERIFY(!window.recordsWindow().isVisible());
}

void MainWindowTest::selectGraphicallyClearsTitleAndGridEvenWithoutALayer() {
    ScriptedPrompts prompts;
    MainWindow window;
    window.setWindowTitle("Kesselby - Selected Records: Graphical Query");
    RecordGridModel& grid = window.recordsWindow().grid();
    grid.setCols(2);
    grid.setRows(2);
    grid.setRow(1);
    grid.setCol(1);
    grid.setText("left over");
    clickButton(window, "Command4");
    QCOMPARE(prompts.messages, QStringList("No Draw/Query Layer(s) Selected"));
    QCOMPARE(window.windowTitle(), QString("Kesselby"));
    QCOMPARE(grid.textMatrix(1, 1), QString());
    QCOMPARE(window.query_type, qint16(0));
}

void MainWindowTest::selectGraphicallyArmsTheSelectionAndReleasesZoomIn() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_0");
    toolbarButton(window, "Pan")->trigger();
    toolbarButton(window, "Zoom In")->trigger();
    clickButton(window, "Command4");
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(window.queryflag, qint16(1));
    QCOMPARE(window.query_type, qint16(2));
    QVERIFY(!toolbarButton(window, "Zoom In")->isChecked());
}

void MainWindowTest::recordsWindowHiddenByExitShowsTheSameRecordsAgain() {
    ScriptedPrompts prompts;
    MainWindow window;
    clickBox(window, "chkwater_0");
    selectEverythingInView(window);
    clickButton(window, "Command3");
    SelRecsWindow& records = window.recordsWindow();
    QVERIFY(records.isVisible());
    QCOMPARE(records.windowTitle(), QString("Selected Records: Graphical Query"));
    const int rows = records.grid().rows();
    const QString lastBarcode = records.grid().textMatrix(rows - 1, 1);
    QVERIFY(rows > 2);
    QTest::mouseClick(control<QPushButton>(&records, "Command1"), Qt::LeftButton);
    QVERIFY(records.isHidden());
    clickButton(window, "Command3");
    QCOMPARE(&window.recordsWindow(), &records);
    QVERIFY(records.isVisible());
    QCOMPARE(records.grid().rows(), rows);
    QCOMPARE(records.grid().textMatrix(rows - 1, 1), lastBarcode);
    QCOMPARE(records.windowTitle(), QString("Selected Records: Graphical Query"));
}

void MainWindowTest::drawingLabelIsHiddenBetweenDrawings() {
    ScriptedPrompts prompts;
    MainWindow window;
    auto* wait = control<QLabel>(&window, "Label_wait");
    QCOMPARE(wait->text(), QString("Drawing ..."));
    bool shownWhileDrawing = false;
    // Connected after the window's own handlers, so this sees the label as they leave it.
    connect(&window.map(), &mapcontrol::MapControl::layerDrawStarting, &window,
            [&] { shownWhileDrawing = shownWhileDrawing || !wait->isHidden(); });
    window.map().redrawAll();
    QVERIFY(shownWhileDrawing);
    QVERIFY(wait->isHidden());
}

void MainWindowTest::coordinateTextIsCutNotRounded_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("caption");
    QTest::newRow("digits beyond the first are cut") << 812.456 << 95.09 << "UTM Zone 15 - X:812.4 Y:95.0";
    QTest::newRow("a whole number has no point") << 640000.0 << 4712345.0 << "UTM Zone 15 - X:640000 Y:4712345";
    QTest::newRow("a negative keeps its sign") << -12.98 << -0.5 << "UTM Zone 15 - X:-12.9 Y:-0.5";
    QTest::newRow("nines are not rounded up") << 99.99 << 1.0001 << "UTM Zone 15 - X:99.9 Y:1.0";
}

void MainWindowTest::coordinateTextIsCutNotRounded() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, caption);
    QCOMPARE(coordinateReadout(QPointF(x, y)), caption);
}

void MainWindowTest::mouseMoveShowsTheMapCoordinates() {
    ScriptedPrompts prompts;
    MainWindow window;
    QWidget* map = control(&window, "Map1");
    const QPoint pixel(100, 120);
    QTest::mouseMove(map, pixel);
    QMouseEvent move(QEvent::MouseMove, QPointF(pixel), map->mapToGlobal(QPointF(pixel)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(map, &move);
    const QPointF point = window.map().screenToMap(pixel);
    QCOMPARE(control<QLabel>(&window, "labXY")->text(), coordinateReadout(point));
}

void MainWindowTest::zoomOutGrowsTheViewInOneClickAndKeepsZoomInPressed() {
    ScriptedPrompts prompts;
    MainWindow window;
    toolbarButton(window, "Zoom In")->trigger();
    const mapcontrol::Rect before = window.map().viewBounds();
    toolbarButton(window, "Zoom Out")->trigger();
    const mapcontrol::Rect after = window.map().viewBounds();
    QVERIFY(qAbs(after.width() / before.width() - 1.25) < 1e-6);
    QVERIFY(qAbs(after.height() / before.height() - 1.25) < 1e-6);
    QVERIFY(qAbs(after.center().x() - before.center().x()) < 1e-6);
    QVERIFY(toolbarButton(window, "Zoom In")->isChecked());
}

void MainWindowTest::zoomInAndPanReleaseEachOther() {
    ScriptedPrompts prompts;
    MainWindow window;
    QAction* zoomIn = toolbarButton(window, "Zoom In");
    QAction* pan = toolbarButton(window, "Pan");
    zoomIn->trigger();
    pan->trigger();
    QVERIFY(pan->isChecked() && !zoomIn->isChecked());
    zoomIn->trigger();
    QVERIFY(zoomIn->isChecked() && !pan->isChecked());
    zoomIn->trigger();
    QVERIFY(!zoomIn->isChecked() && !pan->isChecked());
}

void MainWindowTest::draggingARectangleWithZoomInZoomsToItAndFullExtentShowsEverything() {
    ScriptedPrompts prompts;
    MainWindow window;
    QWidget* map = control(&window, "Map1");
    mapcontrol::MapControl& control = window.map();
    const mapcontrol::Rect whole = control.viewBounds();
    toolbarButton(window, "Zoom In")->trigger();
    const QPoint from(100, 100), to(200, 220);
    const mapcontrol::Rect dragged = mapcontrol::Rect::fromCorners(control.screenToMap(from), control.screenToMap(to));
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(map, to);
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, to);
    const mapcontrol::Rect view = control.viewBounds();
    QVERIFY(view.width() < whole.width() / 2);
    QVERIFY(view.contains(QPointF(dragged.minX + 1, dragged.minY + 1)));
    QVERIFY(view.contains(QPointF(dragged.maxX - 1, dragged.maxY - 1)));
    toolbarButton(window, "Full Extent")->trigger();
    const mapcontrol::Rect all = control.wholeBounds();
    QVERIFY(control.viewBounds().contains(QPointF(all.minX, all.minY)));
    QVERIFY(control.viewBounds().contains(QPointF(all.maxX, all.maxY)));
}

void MainWindowTest::aClickWithZoomInZoomsInTwoTimesAboutThePoint() {
    ScriptedPrompts prompts;
    MainWindow window;
    QWidget* map = control(&window, "Map1");
    const mapcontrol::Rect before = window.map().viewBounds();
    toolbarButton(window, "Zoom In")->trigger();
    const QPointF clicked = window.map().screenToMap(QPoint(120, 150));
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, QPoint(120, 150));
    const mapcontrol::Rect after = window.map().viewBounds();
    QVERIFY(qAbs(after.width() / before.width() - 0.5) < 1e-6);
    QVERIFY(qAbs(after.center().x() - clicked.x()) < after.width() / 100);
    QVERIFY(qAbs(after.center().y() - clicked.y()) < after.height() / 100);
}

void MainWindowTest::mouseDownWithNoToolPressedLeavesTheViewAlone() {
    ScriptedPrompts prompts;
    MainWindow window;
    QWidget* map = control(&window, "Map1");
    const mapcontrol::Rect before = window.map().viewBounds();
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseMove(map, QPoint(150, 180));
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, QPoint(150, 180));
    QCOMPARE(window.map().viewBounds(), before);
    QCOMPARE(window.query_type, qint16(0));
}

void MainWindowTest::panMovesTheViewWithTheMouse() {
    ScriptedPrompts prompts;
    MainWindow window;
    QWidget* map = control(&window, "Map1");
    mapcontrol::MapControl& control = window.map();
    toolbarButton(window, "Pan")->trigger();
    const QPointF grabbed = control.screenToMap(QPoint(100, 100));
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(map, QPoint(140, 160));
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, QPoint(140, 160));
    // The map point that was under the mouse has followed it.
    const QPointF now = control.screenToMap(QPoint(140, 160));
    QVERIFY(qAbs(now.x() - grabbed.x()) < control.viewBounds().width() / 100);
    QVERIFY(qAbs(now.y() - grabbed.y()) < control.viewBounds().height() / 100);
}

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
