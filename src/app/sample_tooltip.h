#pragma once

#include <QPoint>
#include <QString>

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// The tooltip of the sample points drawn under a pixel of the map (widget pixels): the top
/// point's period and kind, its location code (water quality), barcode (macro-invertebrates) or
/// site (fish, vegetation), and its date (for a site, the dates of its records in the companion
/// table of `dataPath`); where points overlap there, how many more lie under it. Empty when no
/// sample point is drawn there.
QString sampleTooltip(const mapcontrol::MapControl& map, QPoint pixel, const QString& dataPath);

} // namespace quillfen
