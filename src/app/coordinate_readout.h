#pragma once

#include <QPointF>
#include <QString>

namespace quillfen {

/// A coordinate's ordinary decimal text cut one digit after its decimal point, without
/// rounding (812.456 gives "812.4"); a whole number stays whole, a negative keeps its sign.
QString cutCoordinateText(double value);

/// The caption of the coordinate readout for a map point:
/// "UTM Zone 15 - X:812.4 Y:95.0".
QString coordinateReadout(QPointF mapPoint);

} // namespace quillfen
