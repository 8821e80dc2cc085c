#pragma once

#include <QWidget>

namespace quillfen {

/// Makes the window show which control has the keyboard focus from the moment it opens, not
/// only after the first key press, as the styles otherwise do.
inline void showFocusFromStart(QWidget* window) { window->setAttribute(Qt::WA_KeyboardFocusChange); }

}  // namespace quillfen
