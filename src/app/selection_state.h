#pragma once

#include "mapcontrol/map_types.h"

#include <QtGlobal>

namespace quillfen {

/// The main window's selection state: whether a selection is requested (`queryflag`), how it
/// searches (`query_type`) and the polygon of a graphical one. The codes are the program's own
/// 16-bit values.
struct SelectionState {
    /// `queryflag`: whether a logical or graphical selection has been asked for.
    enum class QueryFlag : qint16 { None = 0, Requested = 1 };
    /// `query_type`: how the requested selection searches: by the drawn polygon, by the
    /// submitted query, or armed by "Select Graphically" with no polygon drawn yet.
    enum class QueryType : qint16 { Graphical = 0, Logical = 1, GraphicalArmed = 2 };

    QueryFlag queryflag = QueryFlag::None;
    QueryType query_type = QueryType::Graphical;
    /// The polygon of the last graphical selection; a null shape before any.
    mapcontrol::Shape query_polygon;

    bool requested() const { return queryflag == QueryFlag::Requested; }
};

} // namespace quillfen
