#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

// The programme's logo: a fish leaping over a winding river under a pale sky, drawn to fill `size`
// (device-independent pixels) at `devicePixelRatio` device pixels per pixel, so that it is sharp
// on the screen it is shown on. Shown by the about window and at the top left of the main window.
QPixmap quillfenLogo(QSize size, qreal devicePixelRatio = 1.0);

// The program's icon: the middle of the logo (the fish over the river) on a square tile with
// rounded corners, `size` pixels on each side. Needs no display.
QImage quillfenIcon(int size);
