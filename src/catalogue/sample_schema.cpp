#include "catalogue/sample_schema.h"

#include <algorithm>

namespace quillfen {
namespace {

using VC = ValueClass;
using PL = PickListId;
using EE = ExportEncoding;

const QString kMgPerLiter = QStringLiteral("milligrams per liter");

// clang-format off
const QVector<SchemaField> kWaterSchema = {
    {"barcode",    "Barcode",                          0,    -1, "", "", VC::ShownOnly, PL::None, "Barcode",       EE::Integer},
    {"loc_code",   "Location Code",                    1250, -1, "", "", VC::ShownOnly, PL::None, "Location Code", EE::Text},
    {"date",       "Date",                             0,    -1, "", "", VC::ShownOnly, PL::None, "Date",          EE::Text},
    {"time",       "Time",                             0,    -1, "", "", VC::ShownOnly, PL::None, "Time",          EE::Text},
    {"samp_depth", "Sample Depth (m)",                 1500, -1, "", "", VC::ShownOnly, PL::None, "Sample Depth",  EE::Number},
    {"z",          "Z (m)",                            0,    -1, "", "", VC::ShownOnly, PL::None, "Z",             EE::Text},
    {"z_max",      "Z Max (m)",                        0,    -1, "", "", VC::ShownOnly, PL::None, "Z Max",         EE::Text},
    {"substrate",  "Substrate",                        1250, -1, "", "", VC::ShownOnly, PL::None, "Substrate",     EE::Text},
    {"stratum_c",  "Stratum",                          2000, 0,  "Stratum", "", VC::CodedText, PL::WaterStrata, "Stratum", EE::Text},
    {"secchi",     "Secchi (cm)",                      1250, 6,  "Secchi", "centimeters", VC::Number, PL::None, "Secchi", EE::Number},
    {"veg_cov",    "Pct Veg Cover",                    1250, -1, "", "", VC::ShownOnly, PL::None, "Veg Coverage",  EE::Text},
    {"veg_den",    "Veg Density Pct",                  0,    -1, "", "", VC::ShownOnly, PL::None, "Veg Density",   EE::Text},
    {"veg_name",   "Veg Name",                         2000, -1, "", "", VC::ShownOnly, PL::None, "Veg Name",      EE::Text},
    {"temp",       "Temp (c)",                         0,    2,  "Temperature", "degrees celsius", VC::Number, PL::None, "Temperature", EE::Number},
    {"dis_oxygen", "Dissolved Oxygen (mg/l)",          2000, 1,  "Dissolved Oxygen", kMgPerLiter, VC::Number, PL::None, "Dissolved Oxygen", EE::Number},
    {"ph",         "ph",                               0,    3,  "pH", "", VC::Number, PL::None, "ph", EE::Number},
    {"turbidity",  "Turbidity (NTU)",                  1500, 5,  "Turbidity", "NTU", VC::Number, PL::None, "Turbidity", EE::Number},
    {"cond",       "Conductivity (microsiemens/cm)",   2750, 4,  "Conductivity", "microseimens per centimeter", VC::Number, PL::None, "Conductivity", EE::Number},
    {"velocity",   "Velocity (m/sec)",                 2000, 7,  "Velocity", "meters per second", VC::Number, PL::None, "Velocity", EE::Number},
    {"s_r_phos",   "Soluble Reactive Phos (mg/l)",     2250, 8,  "Soluble Reactive P", kMgPerLiter, VC::Number, PL::None, "Soluble Reactive P", EE::Number},
    {"total_phos", "Total Phos (mg/l)",                2000, 9,  "Total P", kMgPerLiter, VC::Number, PL::None, "Total P", EE::Number},
    {"total_n",    "Total N (mg/l)",                   2000, 10, "Total N", kMgPerLiter, VC::Number, PL::None, "Total N", EE::Number},
    {"ammonium_n", "Ammonium N (mg/l)",                2000, 11, "Ammonium N", kMgPerLiter, VC::Number, PL::None, "Ammonium N", EE::Number},
    {"nate_nite",  "Nitrate-Nitrite (mg/l)",           2000, 12, "Nitrate-Nitrite", kMgPerLiter, VC::Number, PL::None, "Nitrate Nitrite", EE::Number},
    {"sus_solids", "Suspended Solids (mg/l)",          2000, 13, "Suspended Solids", kMgPerLiter, VC::Number, PL::None, "Suspended Solids", EE::Number},
    {"v_s_solids", "Volatile Suspended Solids (mg/l)", 2500, 14, "Volatile Suspended Solids", kMgPerLiter, VC::Number, PL::None, "Volatile Suspended Solids", EE::Number},
    {"silica",     "Silica (mg/l)",                    1500, 15, "Silica", kMgPerLiter, VC::Number, PL::None, "Silica", EE::Number},
    {"chloride",   "Chloride (mg/l)",                  1750, 16, "Chloride", kMgPerLiter, VC::Number, PL::None, "Chloride", EE::Number},
    {"c_phyl_fl1", "Chlorophyll fl1 (micrograms/l)",   2750, 17, "Chlorophyll fl1", "ug/L", VC::Number, PL::None, "Chlorophyll fl1", EE::Number},
};

const QVector<SchemaField> kInvertSchema = {
    {"barcode",    "Barcode",          0,    -1, "", "", VC::ShownOnly, PL::None, "Barcode", EE::Integer},
    {"date",       "Date",             0,    -1, "", "", VC::ShownOnly, PL::None, "Date",    EE::Text},
    {"stratum",    "Stratum",          1750, 0,  "Stratum", "", VC::CodedText, PL::InvertStrata, "Stratum", EE::Text},
    {"depth",      "Depth (m)",        1250, 1,  "Sample Depth", "meters", VC::Number, PL::None, "Depth", EE::Number},
    {"pct_veg",    "% Vegetation",     1250, 2,  "Percent Veg", "", VC::CodedText, PL::InvertPercent, "Percent Veg", EE::Text},
    {"pct_open",   " % Open Water",    1500, 3,  "Percent Open Water", "", VC::CodedText, PL::InvertPercent, "Percent Open", EE::Text},
    {"pct_sub",    "% Submersed Veg.", 1500, 4,  "Percent Submergents", "", VC::CodedText, PL::InvertPercent, "Percent Sub", EE::Text},
    {"pct_float",  "% Floating Veg.",  1500, 5,  "Percent Floating", "", VC::CodedText, PL::InvertPercent, "Percent Float", EE::Text},
    {"pct_emerg",  "% Emergent Veg.",  1500, 6,  "Percent Emergents", "", VC::CodedText, PL::InvertPercent, "Percent Emerg", EE::Text},
    {"pct_shells", "% Shells",         0,    7,  "Percent Shells", "", VC::CodedText, PL::InvertPercent, "Shells", EE::Text},
    {"pct_detrit", "% Detritus",       0,    8,  "Percent Detritus", "", VC::CodedText, PL::InvertPercent, "Detritus", EE::Text},
    {"fine_org",   "Fine Organics",    1500, 9,  "Fine Organics Present", "", VC::CodedText, PL::InvertFineOrganics, "Fine Organics", EE::Text},
    {"substrate",  "Substrate",        2000, 10, "Substrate", "", VC::CodedText, PL::InvertSubstrate, "Substrate", EE::Text},
    {"mayflies",   "Mayflies",         0,    11, "Mayflies", "count", VC::Number, PL::None, "Mayflies", EE::Number},
    {"fgnl_clams", "Fingernail Clams", 1250, 12, "Fingernail Clams", "count", VC::Number, PL::None, "Fingernail Clams", EE::Number},
    {"corbicula",  "Corbicula",        0,    13, "Corbicula", "count", VC::Number, PL::None, "Corbicula", EE::Number},
    {"midges",     "Midges",           0,    14, "Midges", "count", VC::Number, PL::None, "midges", EE::Number},
    {"zebra_mus",  "Zebra Mussels",    1250, 15, "Zebra Mussels", "count", VC::Number, PL::None, "Zebra Mussels", EE::Number},
};

const QVector<SchemaField> kFishSchema = {
    {"barcode",   "Barcode",              0,    -1, "", "", VC::ShownOnly, PL::None, "Barcode",       EE::Integer},
    {"loc_code",  "Location Code",        1250, -1, "", "", VC::ShownOnly, PL::None, "Location Code", EE::Text},
    {"stratum",   "Stratum",              2350, 1,  "Stratum", "", VC::CodedText, PL::FishStrata, "Stratum", EE::Text},
    {"date",      "Date",                 0,    -1, "", "", VC::ShownOnly, PL::None, "Date",          EE::Text},
    {"gear",      "Gear",                 1750, 2,  "Gear", "", VC::CodedText, PL::FishGear, "Gear", EE::Text},
    {"depth",     "Depth (m)",            0,    3,  "Sample Depth", "meters", VC::Number, PL::None, "Depth", EE::Number},
    {"velocity",  "Velocity (m/sec)",     2000, 4,  "Velocity", "meters per second", VC::Number, PL::None, "Velocity", EE::Number},
    {"veg_den",   "Vegetation Density",   1500, 5,  "Veg Density", "", VC::CodedText, PL::FishVegDensity, "Veg Density", EE::Text},
    {"substrat",  "Substrate",            0,    6,  "Substrate", "", VC::CodedText, PL::FishSubstrate, "Substrate", EE::Text},
    {"species",   "Species",              1500, 0,  "Species", "", VC::Species, PL::FishSpecies, "Species", EE::Text},
    {"ave_len",   "Average Length (mm)",  1750, 7,  "Average Length", "millimeters", VC::Number, PL::None, "Average Length", EE::Number},
    {"count",     "Count",                0,    8,  "Fish Count", "count", VC::Number, PL::None, "Count", EE::Number},
    {"catch_eff", "Catch Effort (hours)", 2000, 9,  "Catch Effort", "hours", VC::Number, PL::None, "Catch Effort", EE::Number},
};

// Every vegetation column is exported as text, the barcode included.
const QVector<SchemaField> kVegSchema = {
    {"barcode",    "Barcode",                                      0,    -1, "", "", VC::ShownOnly, PL::None, "Barcode", EE::Text},
    {"date",       "Date",                                         1250, -1, "", "", VC::ShownOnly, PL::None, "Date",    EE::Text},
    {"detritus",   "Detritus",                                     1250, 0,  "Detritus", "", VC::CodedText, PL::VegDetritus, "Detritus", EE::Text},
    {"substrate",  "Substrate",                                    3000, 1,  "Substrate", "", VC::CodedText, PL::VegSubstrate, "Substrate", EE::Text},
    {"map_strat",  "Stratum",                                      2500, 2,  "Stratum", "", VC::CodedText, PL::VegStrata, "Stratum", EE::Text},
    {"unveg",      "Unvegetated",                                  1250, 3,  "Site Unvegetated", "", VC::CodedText, PL::VegUnvegetated, "Unvegetated", EE::Text},
    {"sub",        "Submergent Veg Present",                       2500, 4,  "Submersed Veg Present", "", VC::CodedText, PL::VegSubmersed, "Submergents", EE::Text},
    {"float",      "Rooted Floating Veg Present",                  2500, 5,  "Rooted Floating Veg Present", "", VC::CodedText, PL::VegRootedFloating, "Rooted Floating Veg", EE::Text},
    {"emerg",      "Emergent Veg Present",                         2500, 6,  "Emergent Veg Present", "", VC::CodedText, PL::VegEmergent, "Emergents", EE::Text},
    {"algae",      "Filamentous Algae Present",                    2500, 7,  "Filamentous Algae Present", "", VC::CodedText, PL::VegAlgae, "Algae", EE::Text},
    {"non_rf",     "Non-Rooted Floating Veg Present",              3000, 8,  "Non-Rooted Floating Veg Present", "", VC::CodedText, PL::VegNonRootedFloating, "Non Rooted Floating Veg", EE::Text},
    {"pctcov_nrf", "Pct Cover - Non-Rooted Floating Veg",          3500, 9,  "Percent Cover Non-Rooted Floating Veg", "", VC::CodedText, PL::VegPercentCover, "Percent Non Rooted Floating Veg", EE::Text},
    {"pctcov_flt", "Pct Cover - Rooted Floating Veg",              3000, 10, "Percent Cover Rooted Floating Veg", "", VC::CodedText, PL::VegPercentCover, "Percent Cover Rooted Floating", EE::Text},
    {"pctcov_emg", "Pct Cover - Emergent Veg",                     2500, 11, "Percent Cover Emergent Veg", "", VC::CodedText, PL::VegPercentCover, "Percent Cover Emergents", EE::Text},
    {"wd_avg",     "Average Water Depth (Meters)",                 2500, 12, "Average Water Depth", "Meters", VC::Number, PL::None, "Water Depth", EE::Text},
    {"pd_avg_txt", "Average Submersed Plant Density",              3000, 13, "Average Plant Density", "", VC::CodedText, PL::VegPercentCover, "Average Submergent Density", EE::Text},
    {"species",    "Species",                                      3000, 14, "Species", "", VC::Species, PL::VegSpecies, "Species", EE::Text},
    {"addit_spec", "Additional Species",                           2000, -1, "", "", VC::ShownOnly, PL::None, "Additional Species", EE::Text},
    {"spec_cov",   "Pct Cover - Rooted Floating and Emergent Veg", 4000, -1, "", "", VC::ShownOnly, PL::None, "Percent Cover Rooted and Floating Emergents", EE::Text},
};
// clang-format on

} // namespace

const QVector<SchemaField>& sampleSchema(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return kWaterSchema;
    case SampleKind::Fish:
        return kFishSchema;
    case SampleKind::Invert:
        return kInvertSchema;
    case SampleKind::Veg:
        break;
    }
    return kVegSchema;
}

QVector<SchemaField> queryParameters(SampleKind kind) {
    QVector<SchemaField> offered;
    for (const SchemaField& f : sampleSchema(kind)) {
        if (f.queryIndex >= 0)
            offered.append(f);
    }
    std::sort(offered.begin(), offered.end(),
              [](const SchemaField& a, const SchemaField& b) { return a.queryIndex < b.queryIndex; });
    return offered;
}

QString queryField(SampleKind kind, const QString& queryName) {
    for (const SchemaField& f : sampleSchema(kind)) {
        if (f.queryIndex >= 0 && f.queryName == queryName)
            return f.field;
    }
    return QString();
}

QStringList numericFieldNames() {
    QStringList names;
    for (SampleKind kind : allSampleKinds()) {
        for (const SchemaField& f : sampleSchema(kind)) {
            if (f.valueClass == ValueClass::Number && !names.contains(f.field))
                names.append(f.field);
        }
    }
    return names;
}

} // namespace quillfen
