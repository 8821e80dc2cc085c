#pragma once

#include <QEvent>
#include <QWidget>

namespace quillfen {

/// Makes the window show which control has the keyboard focus from the moment it opens, not
/// only after the first key press, as the styles otherwise do. Showing a window forgets that its
/// focus was shown, so the window is told again each time it is shown.
inline void showFocusFromStart(QWidget* window) {
    class ShowFocus : public QObject {
    public:
        using QObject::QObject;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show)
                static_cast<QWidget*>(watched)->setAttribute(Qt::WA_KeyboardFocusChange);
            return false;
        }
    };
    window->installEventFilter(new ShowFocus(window));
    window->setAttribute(Qt::WA_KeyboardFocusChange);
}

} // namespace quillfen
