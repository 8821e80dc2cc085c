#pragma once

// Helpers for tests that drive the real main window on the demonstration data folder that
// the build writes beside the test executables.

#include "app/main_window.h"
#include "app/tab_panel.h"
#include "mapcontrol/map_control.h"
#include "records/record_grid_model.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace testing {

template <class T = QWidget>
T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

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

/// Clicks the item of a list box with that text, as a user would.
inline void clickListItem(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        qFatal("no item '%s' in %s", qPrintable(text), qPrintable(list->objectName()));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(items.first()).center());
}

inline QAction* toolbarButton(quillfen::MainWindow& window, const QString& key) {
    for (QAction* action : control<QToolBar>(&window, "Toolbar1")->actions()) {
        if (action->text() == key)
            return action;
    }
    qFatal("no toolbar button %s", qPrintable(key));
    return nullptr;
}

/// A graphical selection whose polygon is the whole view, as if drawn and redrawn: every
/// point drawn is selected.
inline void selectEverythingInView(quillfen::MainWindow& window) {
    const mapcontrol::Rect view = window.map().viewBounds();
    window.query_polygon = mapcontrol::Shape::polygon(
        {{view.minX, view.minY}, {view.minX, view.maxY}, {view.maxX, view.maxY}, {view.maxX, view.minY}});
    window.queryflag = 1;
    window.query_type = 0;
    window.map().redrawAll();
}

/// Names of the map's layers from the bottom of the stack to the top.
inline QStringList stackBottomToTop(const mapcontrol::MapControl& map) {
    QStringList names;
    for (int i = map.layerCount() - 1; i >= 0; --i)
        names.append(map.layer(i)->name());
    return names;
}

/// The colour of the rendered map at a map point.
inline QColor mapColorAt(const mapcontrol::MapControl& map, QPointF mapPoint) {
    const QPointF pixel = map.mapToScreen(mapPoint);
    return map.image().pixelColor(pixel.toPoint());
}

inline bool sameColor(const QColor& a, const QColor& b, int tolerance = 8) {
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace testing
