#pragma once

#include "mapcontrol/map_types.h"

#include <QPointF>

#include <optional>

class QPainter;
class QWidget;

namespace mapcontrol {

/// The keys every map answers and its wheel, as steps from one view rectangle to the next;
/// the map control applies them while no mouse tool is in progress.

/// How much one press of + or -, or one notch of the wheel, zooms.
constexpr double kZoomStep = 1.25;

/// The view after a key: the arrows move it a quarter of its width or height that way, + (also
/// =) and - zoom in and out about its centre, Home shows `whole`. Empty for any other key, and
/// for Home while `whole` is empty.
std::optional<Rect> viewAfterKey(int key, const Rect& view, const Rect& whole);

/// The view after the wheel turned `notches` (positive away from the user: zoom in) with the
/// pointer over `anchor` (map units), which stays under the pointer.
Rect viewAfterWheel(const Rect& view, QPointF anchor, double notches);

/// Frames the map that has the keyboard focus, once its window shows focus (always, for a window
/// that shows it from the start).
void drawFocusFrame(QPainter& painter, const QWidget& map);

} // namespace mapcontrol
