#pragma once

#include <QIcon>

namespace quillfen {

/// The pictures of the map toolbar, drawn by the program.
QIcon zoomInIcon();     ///< a magnifying glass with a plus
QIcon zoomOutIcon();    ///< a magnifying glass with a minus
QIcon panIcon();        ///< a hand
QIcon fullExtentIcon(); ///< a globe
QIcon helpIcon();       ///< a question mark

} // namespace quillfen
