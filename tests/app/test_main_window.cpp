// The main window as a user meets it: start-up, command buttons and their messages, the map
// toolbar, the coordinate readout.

#include "../mapcontrol/test_data.h"
#include "../support/main_window_harness.h"

#include "app/coordinate_readout.h"
#include "app/sample_tooltip.h"
#include "app/table_wait.h"
#include "mapcontrol/map_control.h"
#include "records/grid_layout.h"
#include "selection_run/busy_cursor.h"
#include "support/test_main.h"
#include "window_parts/tab_panel.h"
#include "window_parts/twips.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quillfen;
using namespace testing;

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

/// Hands each event of a widget to a function, before the widget handles it.
class EventSpy : public QObject {
public:
    EventSpy(QWidget* widget, std::function<void(QEvent*)> seen) : seen_(std::move(seen)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        seen_(event);
        return false;
    }

private:
    std::function<void(QEvent*)> seen_;
};

/// Where each control of the main window stands at the designed size, in twips, and which
/// edges it keeps its distance to when the window is resized.
struct DesignedPlace {
    const char* name;
    QRect twipsGeometry;
    bool stretches; // takes the extra space (the map)
    bool followsRight;
    bool followsBottom;
};
const DesignedPlace kDesignedPlaces[] = {
    {"Toolbar1", {0, 0, 2145, 390}, false, false, false},
    {"Image1", {120, 480, 1800, 690}, false, false, false},
    {"labXY", {2760, 960, 3135, 255}, false, false, false},
    {"Map1", {120, 1320, 6855, 7095}, true, true, true},
    {"LblPoolName", {120, 8520, 1695, 615}, false, false, true},
    {"Label_wait", {120, 8520, 1695, 495}, false, false, true},
    {"Command4", {2040, 8520, 975, 495}, false, false, true},
    {"Command2", {3240, 8520, 975, 495}, false, false, true},
    {"Command3", {4440, 8520, 975, 495}, false, false, true},
    {"button_about", {7920, 8520, 975, 495}, false, true, true},
    {"button_print", {9000, 8520, 975, 495}, false, true, true},
    {"Command1", {10080, 8520, 975, 495}, false, true, true},
};

QRect designedRect(const QRect& t) {
    return twipsRect(t.x(), t.y(), t.width(), t.height());
}

/// The pairs of the widgets that overlap, each as "first / second".
QSet<QString> overlaps(const QList<QWidget*>& widgets) {
    QSet<QString> pairs;
    for (int i = 0; i < widgets.size(); ++i) {
        for (int j = i + 1; j < widgets.size(); ++j) {
            if (widgets[i]->geometry().intersects(widgets[j]->geometry()))
                pairs << QString("%1 %2 / %3 %4")
                             .arg(i)
                             .arg(widgets[i]->objectName())
                             .arg(j)
                             .arg(widgets[j]->objectName());
        }
    }
    return pairs;
}

/// The main window's parts, and the controls of each page of its panel.
QVector<QList<QWidget*>> layoutGroups(MainWindow& window) {
    QList<QWidget*> parts;
    for (const char* name : {"labXY", "Map1", "SSTab1", "Command4", "Command2", "Command3", "button_about",
                             "button_print", "Command1"})
        parts << control(&window, name);
    QVector<QList<QWidget*>> groups{parts};
    auto* tabs = control<TabPanel>(&window, "SSTab1");
    for (int i = 0; i < tabs->count(); ++i)
        groups << tabs->page(i)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return groups;
}

/// What a screen reader announces for a control: its role, name and description.
QString announced(QObject* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (!accessible)
        return "nothing";
    QString text = QString::number(accessible->role(), 16) + " | " + accessible->text(QAccessible::Name);
    const QString description = accessible->text(QAccessible::Description);
    if (!description.isEmpty())
        text += " | " + description;
    if (accessible->state().selected)
        text += " | selected";
    return text;
}

QString roleText(QAccessible::Role role) {
    return QString::number(role, 16) + " | ";
}

/// The control with the keyboard focus, by its name or, for a toolbar button, its key.
QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* tool = qobject_cast<QToolButton*>(focus))
        return tool->text();
    return focus ? focus->objectName() : QString("none");
}

/// True when the styles draw the focused control's focus frame: a window shows its focus from
/// the first key press on, or from the start.
bool focusShown(QWidget* control) {
    QStyleOption option;
    option.initFrom(control);
    return option.state & QStyle::State_KeyboardFocusChange;
}

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlsStandWhereDesignedAndFollowTheEdgesWhenTheWindowIsResized_data() {
        QTest::addColumn<QSize>("growth"); // client size over the designed one
        QTest::newRow("at the designed size") << QSize(0, 0);
        QTest::newRow("enlarged") << QSize(300, 200);
        QTest::newRow("at the least size") << QSize(twips(10080 - 11145), twips(8490 - 9090));
        QTest::newRow("smaller than the least size stops there")
            << QSize(twips(10080 - 11145), twips(8490 - 9090));
    }
    void controlsStandWhereDesignedAndFollowTheEdgesWhenTheWindowIsResized() {
        QFETCH(QSize, growth);
        WindowDriver driver;
        MainWindow& window = driver.window;
        const QSize designed(twips(11145), twips(9090));
        QCOMPARE(window.size(), designed);
        QCOMPARE(window.centralWidget()->size(), designed);
        mapcontrol::MapControl& map = window.map();
        const QPointF centre = map.viewBounds().center();
        const double unitsPerPixel = map.viewBounds().width() / map.width();
        QVector<QSet<QString>> overlapsAsDesigned;
        for (const QList<QWidget*>& group : layoutGroups(window))
            overlapsAsDesigned << overlaps(group);
        const bool beyondLeast = QString(QTest::currentDataTag()).startsWith("smaller");
        window.resize(designed + growth - (beyondLeast ? QSize(50, 50) : QSize(0, 0)));
        driver.settle();
        QCOMPARE(window.size(), designed + growth);

        for (const DesignedPlace& place : kDesignedPlaces) {
            QRect expected = designedRect(place.twipsGeometry);
            if (place.stretches)
                expected.setSize(expected.size() + growth);
            else
                expected.translate(place.followsRight ? growth.width() : 0,
                                   place.followsBottom ? growth.height() : 0);
            QCOMPARE(control(&window, place.name)->geometry(), expected);
        }
        // The panel keeps its distance to the right edge, its top, and its bottom's distance
        // to the command buttons; the labels at the top keep theirs to both sides.
        QRect panel = twipsRect(7080, 480, 3855, 7935);
        panel.translate(growth.width(), 0);
        panel.setHeight(panel.height() + growth.height());
        QCOMPARE(control(&window, "SSTab1")->geometry(), panel);
        QCOMPARE(control(&window, "Label27")->geometry(),
                 twipsRect(2520, 0, 8175, 375).adjusted(0, 0, growth.width(), 0));

        // The view keeps its centre and its scale: a larger map shows more of the reach.
        QVERIFY(qAbs(map.viewBounds().center().x() - centre.x()) < unitsPerPixel);
        QVERIFY(qAbs(map.viewBounds().center().y() - centre.y()) < unitsPerPixel);
        QVERIFY(qAbs(map.viewBounds().width() / map.width() - unitsPerPixel) < unitsPerPixel * 1e-9);
        QCOMPARE(map.image().size(), map.size());

        // Nothing overlaps that did not as designed: the map, the panel and the buttons, and the
        // controls of each page, which stay inside the panel below its tabs.
        auto* tabs = control<TabPanel>(&window, "SSTab1");
        const QVector<QList<QWidget*>> groups = layoutGroups(window);
        for (int g = 0; g < groups.size(); ++g) {
            QCOMPARE(overlaps(groups[g]), overlapsAsDesigned[g]);
            for (QWidget* placed : g == 0 ? QList<QWidget*>() : groups[g]) {
                QVERIFY(placed->y() >= tabs->headerHeight());
                QVERIFY(placed->geometry().bottom() < tabs->height() - 2);
            }
        }
    }

    void tabReachesEveryControlInOrderWithTheFocusShownFromTheStart() {
        WindowDriver driver;
        MainWindow& window = driver.window;
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(focusName(), QString("Zoom In"));
        QVERIFY(focusShown(QApplication::focusWidget()));
        // Tab stops at the tab in front, then the boxes of its page ("Base Map"), then the
        // command buttons left to right.
        const QStringList order{"Zoom Out",      "Pan",      "Full Extent",      "Help",
                                "Map1",          "tab_8",    "check_land_water", "Check_landcover",
                                "chkStructures", "Check30",  "Check_drg",        "Command4",
                                "Command2",      "Command3", "button_about",     "button_print",
                                "Command1",      "Zoom In"};
        for (const QString& expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focusName(), expected);
        }
        // The arrows go from tab to tab and bring each one's page to the front; Tab then reaches
        // that page's boxes.
        control(&window, "tab_8")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(focusName(), QString("tab_4"));
        QCOMPARE(control<TabPanel>(&window, "SSTab1")->currentIndex(), 4);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), QString("chkwater_14"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(focusName(), QString("Map1"));
        // The map answers the keyboard once Tab has brought the focus there.
        window.map().setFocus(Qt::TabFocusReason);
        const mapcontrol::Rect before = window.map().viewBounds();
        QTest::keyClick(&window.map(), Qt::Key_Right);
        QVERIFY(window.map().viewBounds().center().x() > before.center().x() + before.width() / 5);

        // Every window of the program shows the focus from the start.
        QVERIFY(focusShown(&window.recordsWindow()));
        QVERIFY(driveModal(
            "query",
            [&] {
                clickBox(window, "chkwater_14");
                testing::clickButton(window, "Command2");
            },
            [](QWidget* query) {
                QVERIFY(focusShown(control(query, "Command2")));
                QTest::mouseClick(control(query, "Command1"), Qt::LeftButton);
            }));
    }

    void controlsAreAnnouncedByNameAndRole_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("announcement");
        QTest::newRow("the map names its layers")
            << "Map1"
            << roleText(QAccessible::Graphic) + "Map | Layers shown: 1989 Land / Water, Reach outline";
        QTest::newRow("a water swatch")
            << "legend_kxw93sm" << roleText(QAccessible::Graphic) + "Summer 1993: red circle";
        QTest::newRow("a fish swatch")
            << "legend_kxf96fl" << roleText(QAccessible::Graphic) + "Fall 1996: blue cross";
        QTest::newRow("a tab behind") << "tab_0" << roleText(QAccessible::PageTab) + "WQ 93-96";
        QTest::newRow("the tab in front")
            << "tab_8" << roleText(QAccessible::PageTab) + "Base Map | selected";
        QTest::newRow("the logo") << "Image1" << roleText(QAccessible::Graphic) + "Quillfen logo";
        QTest::newRow("a base box") << "Check30" << roleText(QAccessible::CheckBox) + "River Miles";
    }
    void controlsAreAnnouncedByNameAndRole() {
        QFETCH(QString, name);
        QFETCH(QString, announcement);
        ScriptedPrompts prompts;
        MainWindow window;
        QCOMPARE(announced(control(&window, name)), announcement);
    }

    void theMapNamesTheTickedSamplesAndACaptionShowsOnlyASelectionShown() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QCOMPARE(announced(&driver.window.map()),
                 roleText(QAccessible::Graphic) +
                     "Map | Layers shown: Summer 1993 water quality, 1989 Land / Water, Reach outline");
        // Ticking another period of the same kind drops the selection shown.
        selectEverythingInView(driver.window);
        QCOMPARE(driver.title(), QString("Kesselby - Selected Records: Graphical Query"));
        driver.clickBox("chkwater_1");
        QCOMPARE(driver.title(), QString("Kesselby"));
    }

    void zoomInAndPanReleaseEachOtherZoomOutKeepsEitherAndTheCursorShowsTheArmedTool() {
        WindowDriver driver;
        QWidget& map = driver.window.map();
        QAction* zoomIn = toolbarButton(driver.window, "Zoom In");
        QAction* pan = toolbarButton(driver.window, "Pan");
        QCOMPARE(map.cursor().shape(), Qt::ArrowCursor);
        driver.clickToolbar("Zoom In");
        driver.clickToolbar("Pan");
        QVERIFY(pan->isChecked() && !zoomIn->isChecked());
        QCOMPARE(map.cursor().shape(), Qt::OpenHandCursor);
        driver.clickToolbar("Zoom In");
        driver.clickToolbar("Zoom Out");
        QVERIFY(zoomIn->isChecked() && !pan->isChecked());
        QCOMPARE(map.cursor().shape(), Qt::CrossCursor);
        driver.clickToolbar("Zoom In");
        QVERIFY(!zoomIn->isChecked() && !pan->isChecked());
        QCOMPARE(map.cursor().shape(), Qt::ArrowCursor);
        driver.clickToolbar("Pan");
        driver.clickBox("chkwater_0");
        driver.clickButton("Command4");
        QCOMPARE(map.cursor().shape(), Qt::CrossCursor);
        // Esc abandons the polygon, which stays armed; once one is drawn the pan tool shows again.
        QTest::mouseClick(&map, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        QTest::keyClick(&map, Qt::Key_Escape);
        QVERIFY(!driver.window.map().toolActive());
        QCOMPARE(driver.window.query_type(), MainWindow::QueryType::GraphicalArmed);
        driver.drawPolygon({{40, 40}, {200, 40}, {200, 200}});
        QCOMPARE(driver.window.query_type(), MainWindow::QueryType::Graphical);
        QCOMPARE(map.cursor().shape(), Qt::OpenHandCursor);
    }

    void hoveringASamplePointNamesItsPeriodLocationAndDateAndThePointsUnderIt() {
        QTemporaryDir folder;
        testdata::writeShapes(
            folder.path(), "kxw93sm", {"POINT (1000 1000)", "POINT (1000 1000)", "POINT (3000 2000)"},
            {{"loc_code", {"KX-07", "KX-08", "KX-09"}}, {"date", {"7/14/1993", "7/15/1993", "8/2/1993"}}});
        WindowDriver driver(folder.path());
        driver.clickBox("chkwater_0");
        const mapcontrol::MapControl& map = driver.window.map();
        QCOMPARE(sampleTooltip(map, driver.pixelOf({3000, 2000}), folder.path()),
                 QString("Summer 1993 water quality\nLocation Code: KX-09\nDate: 8/2/1993"));
        // Where points overlap, the one drawn last is on top.
        QCOMPARE(
            sampleTooltip(map, driver.pixelOf({1000, 1000}) + QPoint(2, -1), folder.path()),
            QString("Summer 1993 water quality\nLocation Code: KX-08\nDate: 7/15/1993\nand 1 more here"));
        QCOMPARE(sampleTooltip(map, driver.pixelOf({2000, 1500}), folder.path()), QString());

        // A fish site names its code and the dates of its catch records.
        WindowDriver demonstration;
        demonstration.clickBox("chkfish_0");
        auto sites = std::dynamic_pointer_cast<mapcontrol::VectorLayer>(
            demonstration.window.map().layerNamed("kxf93sm"));
        QVERIFY(sites);
        const mapcontrol::Dataset& dataset = *sites->dataset();
        const QPointF site = dataset.point(dataset.pointBegin(dataset.partBegin(0)));
        const QString text = sampleTooltip(demonstration.window.map(), demonstration.pixelOf(site),
                                           demonstration.window.data_path);
        QVERIFY2(QRegularExpression("^Summer 1993 fish\\nSite: \\d+\\nDate: \\d+/\\d+/\\d{4}")
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));
    }

    void startsQuietlyOverTheBaseLayerWithItsCaptionsAndTheWaitLabelHidden() {
        ScriptedPrompts prompts;
        MainWindow window;
        QCoreApplication::processEvents();
        QCOMPARE(window.objectName(), QString("main"));
        QCOMPARE(window.windowTitle(), QString("Kesselby"));
        QVERIFY(!window.recordsWindow().isVisible());
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join("; ")));
        // The view starts at the extent of the white base layer.
        const mapcontrol::Rect base = window.map().layer(1)->extent();
        const mapcontrol::Rect view = window.map().viewBounds();
        QVERIFY(view.contains(QPointF(base.minX, base.minY)) && view.contains(QPointF(base.maxX, base.maxY)));

        QCOMPARE(control<QPushButton>(&window, "Command4")->text(), QString("Select Graphically"));
        QCOMPARE(control<QPushButton>(&window, "button_print")->text(), QString("Print to .BMP File"));
        // The wait label shows only while layers are drawn.
        auto* wait = control<QLabel>(&window, "Label_wait");
        QCOMPARE(wait->text(), QString("Drawing ..."));
        bool shownWhileDrawing = false;
        // Connected after the window's own handlers, so this sees the label as they leave it.
        connect(&window.map(), &mapcontrol::MapControl::layerDrawStarting, &window,
                [&] { shownWhileDrawing = shownWhileDrawing || !wait->isHidden(); });
        window.map().redrawAll();
        QVERIFY(shownWhileDrawing);
        QVERIFY(wait->isHidden());
        // The keys and their order are met on the way round with Tab.
        for (QAction* action : control<QToolBar>(&window, "Toolbar1")->actions())
            QCOMPARE(action->toolTip(), action->text());
    }

    void theTabInFrontStandsNextToItsPageAndEveryTabKeepsItsColumn() {
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

    void commandsAskForADrawQueryLayerAndSelectGraphicallyClearsAndArms() {
        ScriptedPrompts prompts;
        MainWindow window;
        window.setWindowTitle("Kesselby - Selected Records: Graphical Query");
        RecordGridModel& grid = window.recordsWindow().grid();
        writeLayerRecordRow(grid, 1, {});
        clickButton(window, "Command4");
        QCOMPARE(window.windowTitle(), QString("Kesselby"));
        QCOMPARE(grid.textMatrix(1, 0), QString());
        // View Records is checked with the box clicks.
        clickButton(window, "Command2");
        QCOMPARE(prompts.messages, QStringList(2, "No Draw/Query Layer(s) Selected"));
        QCOMPARE(window.queryflag(), MainWindow::QueryFlag::None);
        QCOMPARE(window.query_type(), MainWindow::QueryType::Graphical);
        QVERIFY(!window.queryWindow());

        // With a layer ticked, Select Graphically arms the selection.
        clickBox(window, "chkwater_0");
        toolbarButton(window, "Zoom In")->trigger();
        clickButton(window, "Command4");
        QCOMPARE(prompts.messages.size(), 2);
        QCOMPARE(window.queryflag(), MainWindow::QueryFlag::Requested);
        QCOMPARE(window.query_type(), MainWindow::QueryType::GraphicalArmed);
        QVERIFY(!toolbarButton(window, "Zoom In")->isChecked());
    }

    void coordinateTextIsCutNotRounded_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("caption");
        QTest::newRow("a whole number has no point")
            << 640000.0 << 4712345.0 << "UTM Zone 15 - X:640000 Y:4712345";
        QTest::newRow("a negative keeps its sign") << -12.98 << -0.5 << "UTM Zone 15 - X:-12.9 Y:-0.5";
        QTest::newRow("digits beyond the first are cut, nines too")
            << 99.99 << 1.0001 << "UTM Zone 15 - X:99.9 Y:1.0";
    }
    void coordinateTextIsCutNotRounded() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QString, caption);
        QCOMPARE(coordinateReadout(QPointF(x, y)), caption);
    }

    // After each tool and Full Extent, the readout shows where the mouse is over the new view.
    void eachToolMovesTheViewAsTheMouseDrivesAndFullExtentShowsEverything_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QPoint>("from");   // where the mouse is pressed; none: the tool acts at once
        QTest::addColumn<QPoint>("to");     // where it is released
        QTest::addColumn<double>("scale");  // the view's new size over its old; 0: fits the dragged rectangle
        QTest::addColumn<QPoint>("anchor"); // the map point under this pixel before...
        QTest::addColumn<QPoint>("landing"); // ...is under this one after (none: not checked)
        const QPoint middle(-1, -1);
        QTest::newRow("no tool: a drag leaves the view alone")
            << "" << QPoint(50, 50) << QPoint(150, 180) << 1.0 << QPoint(50, 50) << QPoint(50, 50);
        QTest::newRow("pan: the map follows the mouse")
            << "Pan" << QPoint(100, 100) << QPoint(140, 160) << 1.0 << QPoint(100, 100) << QPoint(140, 160);
        QTest::newRow("zoom in: a click zooms in two times about the point")
            << "Zoom In" << QPoint(120, 150) << QPoint(120, 150) << 0.5 << QPoint(120, 150) << middle;
        QTest::newRow("zoom in: a dragged rectangle fills the view")
            << "Zoom In" << QPoint(100, 100) << QPoint(200, 220) << 0.0 << QPoint() << QPoint();
        QTest::newRow("zoom out: one click grows the view about its middle")
            << "Zoom Out" << QPoint() << QPoint() << 1.25 << middle << middle;
    }
    void eachToolMovesTheViewAsTheMouseDrivesAndFullExtentShowsEverything() {
        QFETCH(QString, tool);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(double, scale);
        QFETCH(QPoint, anchor);
        QFETCH(QPoint, landing);
        ScriptedPrompts prompts;
        MainWindow window;
        QWidget* map = control(&window, "Map1");
        mapcontrol::MapControl& view = window.map();
        for (QPoint* pixel : {&anchor, &landing})
            *pixel = *pixel == QPoint(-1, -1) ? map->rect().center() : *pixel;
        const mapcontrol::Rect before = view.viewBounds();
        const QPointF anchored = view.screenToMap(anchor);
        const mapcontrol::Rect dragged =
            mapcontrol::Rect::fromCorners(view.screenToMap(from), view.screenToMap(to));
        if (!tool.isEmpty())
            toolbarButton(window, tool)->trigger();
        if (!from.isNull()) {
            QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(map, to);
            QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, to);
        }
        const mapcontrol::Rect after = view.viewBounds();
        if (scale > 0) {
            QVERIFY(qAbs(after.width() / before.width() - scale) < 1e-6);
            QVERIFY(qAbs(after.height() / before.height() - scale) < 1e-6);
        } else {
            QVERIFY(after.width() < before.width() / 2);
            QVERIFY(after.contains(QPointF(dragged.minX + 1, dragged.minY + 1)));
            QVERIFY(after.contains(QPointF(dragged.maxX - 1, dragged.maxY - 1)));
        }
        const QPointF landed = view.screenToMap(landing);
        QVERIFY(landing.isNull() || qAbs(landed.x() - anchored.x()) < after.width() / 100);
        QVERIFY(landing.isNull() || qAbs(landed.y() - anchored.y()) < after.height() / 100);
        QCOMPARE(window.query_type(), MainWindow::QueryType::Graphical);

        toolbarButton(window, "Full Extent")->trigger();
        const mapcontrol::Rect all = view.wholeBounds();
        QVERIFY(view.viewBounds().contains(QPointF(all.minX, all.minY)));
        QVERIFY(view.viewBounds().contains(QPointF(all.maxX, all.maxY)));
        QMouseEvent move(QEvent::MouseMove, QPointF(from), map->mapToGlobal(QPointF(from)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(map, &move);
        QCOMPARE(control<QLabel>(&window, "labXY")->text(), coordinateReadout(view.screenToMap(from)));
    }

    void whileATableIsAwaitedTheWindowRepaintsAndOnlyTabsTakeClicks() {
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* panel = control<TabPanel>(&window, "SSTab1");
        auto* map = control<mapcontrol::MapControl>(&window, "Map1");
        auto* box = control<QCheckBox>(&window, "chkwater_0");
        const int boxTab = panel->currentIndex();
        const PaintCounter mapPaints(map);
        bool cursorShown = false;
        QElapsedTimer waited;
        waited.start();
        int looks = 0;
        // The wait asks whether the table has come at once, then every few milliseconds; meanwhile
        // the user clicks a box, a command, a tab and the window's close button, and the map asks
        // to be repainted.
        waitForTable([&] {
            if (looks++ == 1) {
                clickBox(window, "chkwater_0");
                clickButton(window, "Command4");
                QTest::mouseClick(panel->tabButton(boxTab == 3 ? 4 : 3), Qt::LeftButton);
                window.close();
                map->update();
            }
            cursorShown = cursorShown || BusyCursor::isShown();
            return waited.elapsed() > BusyCursor::kBusyDelayMs + 100;
        });
        QVERIFY(mapPaints.paints > 0);
        QVERIFY(!box->isChecked());
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(panel->currentIndex(), boxTab == 3 ? 4 : 3);
        QVERIFY(window.isVisible());
        QVERIFY(cursorShown);
        QVERIFY(!QApplication::overrideCursor());
    }

    void aLongSearchRepaintsTheWaitLabelBetweenLayersUnderTheWaitCursor() {
        ScriptedPrompts prompts;
        WindowDriver driver;
        driver.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&driver.window));
        driver.clickBox("chkwater_0");
        driver.clickBox("chkwater_1");
        auto* label = control<QLabel>(&driver.window, "Label_wait");
        // The search fills the grid between these two signals; as it begins, the window is
        // uncovered and asks to be repainted.
        bool searching = false;
        connect(&driver.grid(), &QAbstractItemModel::modelAboutToBeReset, this, [&] {
            searching = true;
            driver.window.update();
        });
        connect(&driver.grid(), &QAbstractItemModel::modelReset, this, [&] { searching = false; });
        int waitPaints = 0;
        const EventSpy labelPaints(label, [&](QEvent* event) {
            waitPaints += event->type() == QEvent::Paint && searching && QApplication::overrideCursor() &&
                          QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        {
            // Work that has gone on past the delay: the search shows the wait cursor at once.
            const BusyCursor longWork;
            QTest::qWait(BusyCursor::kBusyDelayMs + 20);
            selectEverythingInView(driver.window);
        }
        QVERIFY(driver.grid().rows() > 2);
        QVERIFY(waitPaints > 0);
        QVERIFY(label->isHidden());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(prompts.messages.isEmpty());
    }
};

QUILLFEN_TEST(MainWindowTest)

#include "test_main_window.moc"
