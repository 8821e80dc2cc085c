#pragma once

// Driving any window of the program as a user would, for every test program: controls found
// by their objectName, list items clicked, top-level and modal windows found and driven.

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testing {

/// The child of `window` with that objectName; a test without it stops at once.
template <class T = QWidget> T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

/// The visible top-level window with that objectName, or none.
inline QWidget* topLevelNamed(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

/// Clicks the item of a list box with that text, as a user would.
inline void clickListItem(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        qFatal("no item '%s' in %s", qPrintable(text), qPrintable(list->objectName()));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(items.first()).center());
}

/// Runs `open`, which shows a modal window and waits in it, and `steps` on that window once it
/// shows. True when the modal window showing was the one named `name` and the steps closed it
/// (without steps it is closed here). Whatever stays open is closed, at the latest after 5 s, so
/// that a failing step is reported instead of hanging the test.
inline bool driveModal(const QString& name, const std::function<void()>& open,
                       const std::function<void(QWidget*)>& steps = nullptr) {
    bool driven = false;
    bool rescued = false;
    QTimer whenShown;
    whenShown.setSingleShot(true);
    QObject::connect(&whenShown, &QTimer::timeout, [&] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name) {
            if (steps)
                steps(modal);
            driven = !steps || !modal || !modal->isVisible();
        }
        if (modal && modal->isVisible())
            modal->close();
    });
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
        rescued = true;
        for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i)
            QApplication::activeModalWidget()->close();
    });
    whenShown.start(0);
    rescue.start(5000);
    open();
    return driven && !rescued;
}

} // namespace testing
