#pragma once

#include <functional>

namespace quillfen {

/// Waits until `finished()` answers true, for a table being read on a loading thread, while
/// the windows keep repainting: a local event loop runs meanwhile. Clicks and keys reach only
/// the tabs of the layer panels and windows opened during the wait (a message); the map, the
/// boxes and the buttons ignore them, and the windows cannot be closed, so that nothing
/// starts another selection or changes the one under way. The wait cursor shows when the wait
/// lasts longer than a moment.
void waitForTable(const std::function<bool()>& finished);

/// Lets the windows handle what is pending (repaints, the wait cursor) in the middle of long
/// work on the window's thread, input held back as waitForTable() holds it.
void repaintWhileBusy();

} // namespace quillfen
