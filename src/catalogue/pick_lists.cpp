#include "catalogue/pick_lists.h"

#include "catalogue/species_lists.h"

#include <QHash>

namespace quillfen {
namespace {

const QStringList kInvertPercentClasses = {"0%", "1-20%", "21-50%", "51-90%", "91-100%"};
const QStringList kVegPercentCoverClasses = {"0%", "1-20%", "21-40%", "41-60%", "61-80%", "81-100%"};

QHash<PickListId, PickList> buildPickLists() {
    return {
        {PickListId::None, {}},
        {PickListId::WaterStrata,
         {"", {"Isolated", "Backwater Contiguous", "Side Channel", "Main Channel", "Impounded"}}},
        {PickListId::InvertStrata,
         {"",
          {"Backwater Contiguous", "Side Channel", "Impounded", "Main Channel Border",
           "Tributary Delta Lake"}}},
        {PickListId::FishStrata,
         {"",
          {"Main chan border-unstructured", "Main chan border-wing dam", "Side channel border",
           "Backwater-shoreline", "Backwater-offshore", "Impounded-shoreline", "Impounded-offshore"}}},
        {PickListId::VegStrata,
         {"",
          {"Backwater Contiguous", "Backwater Isolated", "Main Channel Border", "Side Channel", "Impounded",
           "Tributary Delta Lake"}}},
        {PickListId::FishGear,
         {"",
          {"Night Electrofishing", "Day Electrofishing", "Hoop Net - large", "Hoop Net - small", "Seining",
           "Trawling", "Plankton Trawling", "Fyke Net", "Mini Fyke Net", "Tandem Mini Fyke Net",
           "Gill Net - parallel", "Gill Net - perpindicular", "Trammel Net - anchored",
           "Trammel Net - float/drift"}}},
        {PickListId::InvertSubstrate,
         {"", {"Gravel/Rock", "Hard Clay", "Mostly Sand w/ Silt/Clay", "Sand", "Silt/Clay"}}},
        {PickListId::FishSubstrate,
         {"", {"Silt", "Silt/Clay/Little Sand", "Sand/Mostly Sand", "Gravel/Rock/Hard Clay"}}},
        {PickListId::VegSubstrate,
         {"",
          {"Gravel or Rock", "Hard Clay", "Sand", "Sand - some Silt or Clay", "Silt - some Sand",
           "Silt and/or Clay"}}},
        {PickListId::FishVegDensity, {"", {"None", "Dense", "Sparse"}}},
        {PickListId::VegDetritus, {"", {"No Detritus", "Coarse Organic"}}},
        {PickListId::InvertFineOrganics, {"Present Y/N", {"Y", "N"}}},
        {PickListId::InvertPercent, {"", kInvertPercentClasses}},
        {PickListId::VegPercentCover, {"Percent Cover", kVegPercentCoverClasses}},
        {PickListId::VegUnvegetated, {"U = No Veg Present", {"U"}}},
        {PickListId::VegSubmersed, {"S = Submersed Veg Present", {"S"}}},
        {PickListId::VegRootedFloating, {"F = Rooted Floating Veg Present", {"F"}}},
        {PickListId::VegEmergent, {"E = Emergent Veg Present", {"E"}}},
        {PickListId::VegAlgae, {"A = Filamentous Algae Present", {"A"}}},
        {PickListId::VegNonRootedFloating, {"N = Non-Rooted Floating Veg Present", {"N"}}},
        {PickListId::FishSpecies, {"", fishSpecies()}},
        {PickListId::VegSpecies, {"", vegetationSpecies()}},
    };
}

} // namespace

const PickList& pickList(PickListId id) {
    static const QHash<PickListId, PickList> lists = buildPickLists();
    return *lists.find(id);
}

} // namespace quillfen
