#pragma once

// Shared window parts (folder window_parts): design units, the design font, the caption button
// and the user prompts that every window uses. Uses only Qt.

#include <QRect>
#include <QtGlobal>

namespace quillfen {

/// Window positions and sizes are designed in twips (1/1440 inch): 15 twips per logical
/// pixel at 96 dpi. Qt scales logical pixels for high-dpi screens.
constexpr double kTwipsPerPixel = 15.0;

inline int twips(int t) {
    return qRound(t / kTwipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace quillfen
