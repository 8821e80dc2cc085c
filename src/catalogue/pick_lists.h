#pragma once

#include <QString>
#include <QStringList>

namespace quillfen {

/// The fixed value lists of coded parameters, and the two species lists.
enum class PickListId {
    None,
    WaterStrata,
    InvertStrata,
    FishStrata,
    VegStrata,
    FishGear,
    InvertSubstrate,
    FishSubstrate,
    VegSubstrate,
    FishVegDensity,
    VegDetritus,
    InvertFineOrganics,
    InvertPercent,
    VegPercentCover,
    VegUnvegetated,
    VegSubmersed,
    VegRootedFloating,
    VegEmergent,
    VegAlgae,
    VegNonRootedFloating,
    FishSpecies,
    VegSpecies,
};

/// A value list: the caption shown under the parameter list while it is offered, and its
/// labels in the order the value box shows them.
struct PickList {
    QString caption;
    QStringList labels;
};

/// The list for an id; PickListId::None gives an empty list.
const PickList& pickList(PickListId id);

} // namespace quillfen
