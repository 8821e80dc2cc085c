#pragma once

#include <QFont>

namespace quillfen {

/// The face the windows were designed in: a small sans-serif of arial's metrics. Captions,
/// list rows and grid headings fit their designed twip sizes in it.
inline QFont designFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    return font;
}

} // namespace quillfen
