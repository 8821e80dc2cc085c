#pragma once

// Driving the real main window on the demonstration data folder that the build writes beside
// the test executables (or on a folder of the test's own): ticking boxes, clicking commands and
// the toolbar, filling in the modal query window, drawing on the map, reading the grid.

#include "app/main_window.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "support/scripted_prompts.h"
#include "support/window_driving.h"
#include "window_parts/tab_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

#include <cmath>

namespace testing {

/// Brings the box's tab to the front and clicks the box, as a user would.
inline void clickBox(quillfen::MainWindow& window, const QString& name) {
    auto* panel = control<quillfen::TabPanel>(&window, "SSTab1");
    auto* box = control<QCheckBox>(&window, name);
    for (int i = 0; i < panel->count(); ++i) {
        if (panel->page(i)->isAncestorOf(box))
            panel->setCurrentIndex(i);
    }
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

inline void clickButton(quillfen::MainWindow& window, const QString& name) {
    QTest::mouseClick(control<QPushButton>(&window, name), Qt::LeftButton);
}

inline QAction* toolbarButton(quillfen::MainWindow& window, const QString& key) {
    for (QAction* action : control<QToolBar>(&window, "Toolbar1")->actions()) {
        if (action->text() == key)
            return action;
    }
    qFatal("no toolbar button %s", qPrintable(key));
    return nullptr;
}

/// "Select Graphically", then the polygon (in map units) as if drawn.
inline void selectInside(quillfen::MainWindow& window, const QVector<QPointF>& polygon) {
    clickButton(window, "Command4");
    window.selectInside(mapcontrol::Shape::polygon(polygon));
}

/// A graphical selection whose polygon is the whole view: every point drawn is selected.
inline void selectEverythingInView(quillfen::MainWindow& window) {
    const mapcontrol::Rect view = window.map().viewBounds();
    selectInside(
        window,
        {{view.minX, view.minY}, {view.minX, view.maxY}, {view.maxX, view.maxY}, {view.maxX, view.minY}});
}

inline QStringList stackBottomToTop(const mapcontrol::MapControl& map) {
    QStringList names;
    for (int i = map.layerCount() - 1; i >= 0; --i)
        names.append(map.layer(i)->name());
    return names;
}

inline QColor mapColorAt(const mapcontrol::MapControl& map, QPointF mapPoint) {
    const QPointF pixel = map.mapToScreen(mapPoint);
    return map.image().pixelColor(pixel.toPoint());
}

inline bool sameColor(const QColor& a, const QColor& b, int tolerance = 8) {
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

/// Every cell of the grid, row by row.
inline QStringList gridTexts(const quillfen::RecordGridModel& grid) {
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c)
            texts << grid.textMatrix(r, c);
    }
    return texts;
}

/// The main window shown on the offscreen screen with every message recorded, and a user's
/// actions on it, each followed by the posted work it starts (such as a deferred message).
class WindowDriver {
public:
    /// On the data folder beside the executable unless another is given.
    explicit WindowDriver(const QString& dataFolder = QString()) : window(nullptr, dataFolder) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window was not shown");
        settle();
    }

    quillfen::ScriptedPrompts prompts;
    quillfen::MainWindow window;

    void clickBox(const QString& name) {
        testing::clickBox(window, name);
        settle();
    }
    void clickButton(const QString& name) { testing::clickButton(window, name); }
    void clickToolbar(const QString& key) { toolbarButton(window, key)->trigger(); }

    /// Clicks "Select Logically" and runs `steps` on the query window; whether they closed it.
    bool driveQueryWindow(const std::function<void(QWidget*)>& steps) {
        const bool driven = driveModal(
            "query", [this] { clickButton("Command2"); }, steps);
        settle();
        return driven;
    }
    /// "Select Logically", then the parameter, the operator and the typed value, then "Submit
    /// Query". False when the query window did not open or did not close.
    bool selectLogically(const QString& parameter, const QString& oper, const QString& value) {
        return driveQueryWindow([&](QWidget* query) {
            clickListItem(control<QListWidget>(query, "List1"), parameter);
            clickListItem(control<QListWidget>(query, "List2"), oper);
            QLineEdit* valueBox = control<QComboBox>(query, "Combo1")->lineEdit();
            valueBox->selectAll();
            QTest::keyClicks(valueBox, value);
            QTest::mouseClick(control<QPushButton>(query, "Command2"), Qt::LeftButton);
        });
    }
    /// "Zoom In" over a square of `halfSide` pixels around the map point.
    void zoomInAround(QPointF mapPoint, int halfSide) {
        clickToolbar("Zoom In");
        const QPoint from = pixelOf(mapPoint) - QPoint(halfSide, halfSide);
        const QPoint to = pixelOf(mapPoint) + QPoint(halfSide, halfSide);
        QTest::mousePress(&window.map(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&window.map(), to);
        QTest::mouseRelease(&window.map(), Qt::LeftButton, Qt::NoModifier, to);
        settle();
    }
    /// Draws a polygon on the map with the mouse: a press at each vertex, a double-click at the
    /// last one.
    void drawPolygon(const QVector<QPoint>& vertices) {
        for (const QPoint& vertex : vertices)
            QTest::mouseClick(&window.map(), Qt::LeftButton, Qt::NoModifier, vertex);
        QTest::mouseDClick(&window.map(), Qt::LeftButton, Qt::NoModifier, vertices.last());
        QTest::mouseRelease(&window.map(), Qt::LeftButton, Qt::NoModifier, vertices.last());
        settle();
    }
    QPoint pixelOf(QPointF mapPoint) const {
        const QPointF pixel = window.map().mapToScreen(mapPoint);
        return QPoint(int(std::floor(pixel.x())), int(std::floor(pixel.y())));
    }
    /// True when the rendered map shows the yellow highlight right around the map point (the
    /// outline of a close point's highlight may cross the point itself).
    bool isHighlighted(QPointF mapPoint) const {
        const QImage& image = window.map().image();
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const QPoint pixel = pixelOf(mapPoint) + QPoint(dx, dy);
                if (image.rect().contains(pixel) && image.pixelColor(pixel) == QColor(255, 255, 0))
                    return true;
            }
        }
        return false;
    }

    quillfen::RecordGridModel& grid() { return window.recordsWindow().grid(); }
    QString title() const { return window.windowTitle(); }
    void settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

} // namespace testing
