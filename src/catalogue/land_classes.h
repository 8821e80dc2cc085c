#pragma once

#include <QString>
#include <QVector>

namespace quillfen {

/// One class of a land/water coverage renderer: the field value it colours, its fill
/// colour, and its legend label and swatch colour (which may differ slightly from the map).
struct LandClass {
    QString value;
    int red, green, blue;
    QString legendLabel;
    int legendRed, legendGreen, legendBlue;
};

/// Renderer classes on field "lw": land and water.
const QVector<LandClass>& landWaterClasses();
/// Renderer classes on field "class": land cover/use (no class for value 4).
const QVector<LandClass>& landCoverClasses();

/// One line of the legends on the "Base Map" tab.
struct LegendLine {
    QString label;
    int red, green, blue;
};
/// Legend lines under "1989 Land / Water", top to bottom.
const QVector<LegendLine>& landWaterLegend();
/// Legend lines under "1989 Landcover / Use", top to bottom; classes sharing a colour
/// share one line.
const QVector<LegendLine>& landCoverLegend();

} // namespace quillfen
