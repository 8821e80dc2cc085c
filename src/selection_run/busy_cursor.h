#pragma once

namespace quillfen {

/// The wait cursor for work that takes longer than a moment. A BusyCursor marks the work
/// while it lives; once the outermost one has lived for kBusyDelayMs, the next look
/// (lookAgain(), called from the work's loops and from event loops that wait) shows the wait
/// cursor, and the end of the outermost one takes it down. Quick work never shows it.
class BusyCursor {
public:
    static constexpr int kBusyDelayMs = 300;

    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    /// Shows the wait cursor when work has gone on for longer than the delay.
    static void lookAgain();
    /// Whether the wait cursor is shown.
    static bool isShown();
};

} // namespace quillfen
