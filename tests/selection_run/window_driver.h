#pragma once

// Drives the real main window on the demonstration data folder as a user would: ticks boxes,
// clicks the command buttons and the toolbar, fills in the modal query window and draws on
// the map with the mouse.

#include "app/main_window.h"
#include "support/scripted_prompts.h"

#include <QDialog>
#include <QPointF>
#include <QString>
#include <QVector>

#include <functional>

namespace quillfen {
class RecordGridModel;
}

class WindowDriver {
public:
    /// Opens the main window (shown, on the offscreen screen) with every message recorded, on
    /// the data folder beside the executable unless another is given.
    explicit WindowDriver(const QString& dataFolder = QString());

    quillfen::ScriptedPrompts prompts;
    quillfen::MainWindow window;

    /// Brings the box's tab to the front and clicks it, e.g. "chkwater_0".
    void clickBox(const QString& name);
    /// Clicks a command button by its control name, e.g. "Command4".
    void clickButton(const QString& name);
    /// Clicks a toolbar button by its key, e.g. "Full Extent".
    void clickToolbar(const QString& key);

    /// "Select Logically", then in the query window: the parameter, the operator and the typed
    /// value, then "Submit Query". False when the query window did not open or did not close.
    bool selectLogically(const QString& parameter, const QString& oper, const QString& value);
    /// "Select Logically", then, when `submitFirst`, "Submit Query" with nothing entered, then
    /// "Cancel". False when the query window did not open or did not close.
    bool cancelQuery(bool submitFirst);

    /// "Zoom In" over a square of `halfSide` pixels around the map point.
    void zoomInAround(QPointF mapPoint, int halfSide);
    /// Draws a polygon on the map with the mouse: a press at each vertex, a double-click at
    /// the last one.
    void drawPolygon(const QVector<QPoint>& vertices);
    /// A square of `halfSide` pixels around the map point, drawn as the selection polygon.
    void drawSquareAround(QPointF mapPoint, int halfSide);

    /// The map point's position on the map control, in pixels.
    QPoint pixelOf(QPointF mapPoint) const;
    /// True when the rendered map shows the yellow highlight at the map point.
    bool isHighlighted(QPointF mapPoint) const;

    quillfen::RecordGridModel& grid();
    QString title() const { return window.windowTitle(); }
    /// Lets posted work (such as a deferred message) run.
    void settle();
    /// Clicks "Select Logically" and runs `steps` on the query window it opens; whether it opened.
    bool driveQueryWindow(const std::function<void(QDialog*)>& steps);
};
