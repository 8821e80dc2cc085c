#pragma once

#include <QString>

namespace quillfen {

/// What the query window needs from the window that opens it: the kind letter of the
/// draw/query layers, and the two halves of the hand-off of a submitted query.
class QueryHost {
public:
    virtual ~QueryHost() = default;
    /// Kind letter of the draw/query layers ("w", "f", "i" or "v").
    virtual QString component() const = 0;
    /// Runs first on every Submit Query, also when a check then fails: empties the records
    /// grid, resets the main title to "Kesselby" and marks the selection as logical.
    virtual void beginSubmit() = 0;
    /// Runs when the condition passed its checks: requests the selection and redraws the map,
    /// which runs the search while the query window is still readable.
    virtual void acceptSubmit() = 0;
};

} // namespace quillfen
