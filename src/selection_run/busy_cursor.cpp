#include "selection_run/busy_cursor.h"

#include <QApplication>
#include <QElapsedTimer>

namespace quillfen {
namespace {

struct BusyState {
    int depth = 0;
    bool shown = false;
    QElapsedTimer since;
};

BusyState& busy() {
    static BusyState state;
    return state;
}

} // namespace

BusyCursor::BusyCursor() {
    if (busy().depth++ == 0)
        busy().since.start();
}

BusyCursor::~BusyCursor() {
    if (--busy().depth == 0 && busy().shown) {
        QApplication::restoreOverrideCursor();
        busy().shown = false;
    }
}

void BusyCursor::lookAgain() {
    BusyState& state = busy();
    if (state.depth > 0 && !state.shown && state.since.elapsed() >= kBusyDelayMs) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        state.shown = true;
    }
}

bool BusyCursor::isShown() {
    return busy().shown;
}

} // namespace quillfen
