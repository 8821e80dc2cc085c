#pragma once

#include <QPixmap>
#include <QSize>

// The programme's logo: a fish leaping over a winding river under a pale sky, drawn to fill `size`
// (device-independent pixels) at `devicePixelRatio` device pixels per pixel, so that it is sharp
// on the screen it is shown on. Shown by the about window and at the top left of the main window.
QPixmap quillfenLogo(QSize size, qreal devicePixelRatio = 1.0);
