#include "app/table_wait.h"

#include "selection_run/busy_cursor.h"
#include "window_parts/tab_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QSet>
#include <QTimer>
#include <QWidget>

namespace quillfen {
namespace {

/// How often the wait looks whether the table has come.
constexpr int kLookIntervalMs = 5;

/// Holds back input to the windows open when it was made, except to the tabs of a layer panel.
class InputHold : public QObject {
public:
    InputHold() {
        const QWidgetList windows = QApplication::topLevelWidgets();
        windows_ = QSet<const QWidget*>(windows.begin(), windows.end());
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!isInput(event->type()) || !receiver->isWidgetType())
            return false;
        const auto* widget = static_cast<const QWidget*>(receiver);
        if (!windows_.contains(widget->window()) || isTab(widget))
            return false;
        event->ignore();
        return true;
    }

private:
    static bool isInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }
    static bool isTab(const QWidget* widget) {
        return qobject_cast<const QAbstractButton*>(widget) &&
               qobject_cast<const TabPanel*>(widget->parentWidget());
    }

    QSet<const QWidget*> windows_;
};

} // namespace

void waitForTable(const std::function<bool()>& finished) {
    if (finished())
        return;
    const BusyCursor busy;
    const InputHold hold;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (finished())
            loop.quit();
        else
            BusyCursor::lookAgain();
    });
    look.start(kLookIntervalMs);
    loop.exec();
}

void repaintWhileBusy() {
    const InputHold hold;
    QCoreApplication::processEvents();
}

} // namespace quillfen
