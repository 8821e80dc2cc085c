#include "sample_values.h"

#include "catalogue/pick_lists.h"
#include "catalogue/sample_schema.h"
#include "catalogue/species_lists.h"

#include <cmath>
#include <stdexcept>

namespace quillfen::sample_data {
namespace {

constexpr double kMissingShare = 0.05; ///< share of measurements recorded as not taken
constexpr double kEmptyShare = 0.03;   ///< share of optional companion-table values left empty

// ---- How the fields are stored -------------------------------------------------------------

const FieldSpec kInteger{QString(), OFTInteger, 9, 0};
const FieldSpec kCount{QString(), OFTInteger, 6, 0};
const FieldSpec kReal2{QString(), OFTReal, 10, 2};
const FieldSpec kReal3{QString(), OFTReal, 10, 3};
const FieldSpec kDate{QString(), OFTDate, 8, 0};
const FieldSpec kShortText{QString(), OFTString, 6, 0};
const FieldSpec kLetter{QString(), OFTString, 1, 0};
const FieldSpec kText{QString(), OFTString, 40, 0};
const FieldSpec kLongText{QString(), OFTString, 80, 0};

/// Storage of the fields whose storage is not decided by their value class alone.
const QHash<QString, FieldSpec>& specialStorage() {
    static const QHash<QString, FieldSpec> table = {
        {"barcode", kInteger},  {"date", kDate},           {"time", kShortText},   {"z", kShortText},
        {"z_max", kShortText},  {"samp_depth", kReal2},    {"veg_cov", kReal2},    {"veg_den", kReal2},
        {"s_r_phos", kReal3},   {"total_phos", kReal3},    {"ammonium_n", kReal3}, {"mayflies", kCount},
        {"fgnl_clams", kCount}, {"corbicula", kCount},     {"midges", kCount},     {"zebra_mus", kCount},
        {"count", kCount},      {"addit_spec", kLongText},
    };
    return table;
}

FieldSpec storageOf(SampleKind kind, const SchemaField& field) {
    FieldSpec column = kText;
    if (kind == SampleKind::Veg && field.field == QLatin1String("barcode"))
        column = FieldSpec{QString(), OFTString, 12, 0};
    else if (kind == SampleKind::Fish && field.field == QLatin1String("veg_den"))
        column = kText; // a coded density label for fish, a percentage for water quality
    else if (specialStorage().contains(field.field))
        column = specialStorage().value(field.field);
    else if (field.valueClass == ValueClass::Number)
        column = kReal2;
    column.name = field.field;
    return column;
}

// ---- Small helpers -------------------------------------------------------------------------

double rounded(double value, int decimals) {
    const double factor = std::pow(10.0, decimals);
    return std::round(value * factor) / factor;
}

QVariant measured(double value, int decimals, Random& random) {
    return random.chance(kMissingShare) ? kNotMeasured : rounded(value, decimals);
}

QVariant countOf(int high, Random& random) {
    if (random.chance(kMissingShare))
        return static_cast<int>(kNotMeasured);
    const double skewed = random.unit() * random.unit(); // most counts small, a few large
    return static_cast<int>(skewed * high);
}

QVariant maybeEmpty(const QVariant& value, Random& random) {
    return random.chance(kEmptyShare) ? QVariant() : value;
}

const QStringList& labels(PickListId id) {
    const QStringList& list = pickList(id).labels;
    if (list.isEmpty())
        throw std::logic_error("an empty pick-list");
    return list;
}

/// The list itself, after making sure every name is one of the full list's.
QStringList knownNames(const QStringList& names, const QStringList& full) {
    for (const QString& name : names) {
        if (!full.contains(name))
            throw std::logic_error("not a listed species: " + name.toStdString());
    }
    return names;
}

int seasonIndex(Season season) {
    return season == Season::WholeYear ? 2 : static_cast<int>(season);
}

bool isBackwater(Region region) {
    return region == Region::ContiguousBackwater || region == Region::IsolatedBackwater ||
           region == Region::BackwaterShoreline || region == Region::BackwaterOffshore ||
           region == Region::TributaryDeltaLake;
}

bool isFlowing(Region region) {
    return region == Region::MainChannel || region == Region::MainChannelBorder ||
           region == Region::WingDamBorder || region == Region::SideChannel;
}

QDate sampleDate(const Period& period, Random& random) {
    // First month and number of months of each season's field work.
    static const int kStart[] = {1, 4, 7, 9, 6};
    static const int kMonths[] = {2, 2, 2, 2, 3};
    const int s = static_cast<int>(period.season);
    const int month = kStart[s] + random.integer(0, kMonths[s] - 1);
    return QDate(period.year, month, random.integer(1, 28));
}

QString clockTime(Random& random) {
    return QStringLiteral("%1:%2")
        .arg(random.integer(7, 17), 2, 10, QChar('0'))
        .arg(random.integer(0, 59), 2, 10, QChar('0'));
}

/// Water depth (m) typical of a region.
double depthIn(Region region, Random& random) {
    switch (region) {
    case Region::MainChannel:
        return random.between(2.5, 9.0);
    case Region::MainChannelBorder:
    case Region::WingDamBorder:
        return random.between(1.0, 4.5);
    case Region::SideChannel:
        return random.between(1.2, 4.0);
    case Region::Impounded:
    case Region::ImpoundedOffshore:
        return random.between(0.8, 3.2);
    default:
        return random.between(0.3, 2.4);
    }
}

double velocityIn(Region region, Random& random) {
    if (region == Region::MainChannel)
        return random.between(0.3, 1.3);
    if (isFlowing(region))
        return random.between(0.05, 0.7);
    if (isBackwater(region))
        return random.between(0.0, 0.04);
    return random.between(0.0, 0.2);
}

int barcodeOf(int kindDigit, const Period& period, int sequence) {
    return kindDigit * 100000000 + (period.year % 100) * 1000000 + seasonIndex(period.season) * 100000 +
           sequence;
}

QString locationCode(QChar kind, int sequence) {
    return QStringLiteral("K-%1-%2").arg(kind.toUpper()).arg(sequence, 4, 10, QChar('0'));
}

// ---- Water quality -------------------------------------------------------------------------

/// Range of a water measurement in winter, spring, summer and fall, and its decimals.
struct WaterMeasure {
    const char* field;
    double low[4];
    double high[4];
    int decimals;
};

// clang-format off
const WaterMeasure kWaterMeasures[] = {
    {"secchi",     {40, 15, 20, 30},         {120, 70, 90, 100},       0},
    {"temp",       {0.1, 9, 22, 9},          {3.8, 18, 30, 19},        1},
    {"dis_oxygen", {7, 7, 4, 6},             {14, 12, 10, 11},         2},
    {"ph",         {7.0, 7.4, 7.6, 7.4},     {8.2, 8.6, 9.0, 8.6},     2},
    {"turbidity",  {2, 15, 8, 5},            {20, 120, 60, 40},        1},
    {"cond",       {380, 300, 320, 350},     {650, 520, 520, 560},     0},
    {"s_r_phos",   {0.02, 0.02, 0.01, 0.02}, {0.12, 0.15, 0.25, 0.18}, 3},
    {"total_phos", {0.08, 0.10, 0.12, 0.09}, {0.30, 0.45, 0.60, 0.40}, 3},
    {"total_n",    {2, 3, 1.5, 1.5},         {7, 8, 5, 4.5},           2},
    {"ammonium_n", {0.05, 0.02, 0.01, 0.02}, {0.50, 0.25, 0.20, 0.30}, 3},
    {"nate_nite",  {1.5, 2.5, 0.1, 0.5},     {6, 7, 3.5, 3.5},         2},
    {"sus_solids", {2, 20, 10, 5},           {30, 150, 90, 60},        1},
    {"v_s_solids", {1, 3, 4, 2},             {8, 20, 30, 15},          1},
    {"silica",     {6, 4, 2, 4},             {20, 15, 12, 14},         2},
    {"chloride",   {15, 12, 10, 12},         {40, 30, 28, 32},         2},
    {"c_phyl_fl1", {1, 5, 10, 5},            {15, 60, 90, 45},         2},
};
// clang-format on

const QStringList kSubstrateWords = {"silt", "sand", "clay", "silt/clay", "sand/silt", "gravel", "muck"};

} // namespace

Period periodOf(SampleKind kind, const QString& periodCode) {
    const int yy = periodCode.left(2).toInt();
    Period period{kind, periodCode, yy < 50 ? 2000 + yy : 1900 + yy, Season::WholeYear};
    const QString season = periodCode.mid(2);
    if (season == QLatin1String("wn"))
        period.season = Season::Winter;
    else if (season == QLatin1String("sp"))
        period.season = Season::Spring;
    else if (season == QLatin1String("sm"))
        period.season = Season::Summer;
    else if (season == QLatin1String("fl"))
        period.season = Season::Fall;
    return period;
}

std::vector<FieldSpec> storedFields(SampleKind kind) {
    std::vector<FieldSpec> fields;
    for (const SchemaField& field : sampleSchema(kind))
        fields.push_back(storageOf(kind, field));
    return fields;
}

std::vector<QVariant> inFieldOrder(const std::vector<FieldSpec>& fields, const Values& values) {
    std::vector<QVariant> ordered;
    ordered.reserve(fields.size());
    for (const FieldSpec& field : fields)
        ordered.push_back(values.value(field.name));
    return ordered;
}

Values waterSample(const Period& period, const Station& station, int sequence, Random& random) {
    const int s = seasonIndex(period.season);
    Values values;
    for (const WaterMeasure& measure : kWaterMeasures)
        values[measure.field] =
            measured(random.between(measure.low[s], measure.high[s]), measure.decimals, random);
    // Still, weedy backwaters run short of oxygen under summer weeds and winter ice.
    const bool stagnant = station.region == Region::IsolatedBackwater ||
                          (station.region == Region::ContiguousBackwater && period.season == Season::Summer);
    if (stagnant && values["dis_oxygen"].toDouble() != kNotMeasured)
        values["dis_oxygen"] = rounded(random.between(1.5, 7.5), 2);
    values["velocity"] = measured(velocityIn(station.region, random), 2, random);

    const double depth = depthIn(station.region, random);
    const bool weedy = isBackwater(station.region) || station.region == Region::Impounded;
    const double cover = weedy && period.season != Season::Winter ? random.between(0, 95) : 0.0;
    values["barcode"] = barcodeOf(1, period, sequence);
    values["loc_code"] = locationCode('w', sequence);
    values["date"] = sampleDate(period, random);
    values["time"] = clockTime(random);
    values["samp_depth"] = rounded(std::min(0.2, depth / 2), 2);
    values["z"] = QString::number(depth, 'f', 1);
    values["z_max"] = QString::number(depth + random.between(0.1, 1.5), 'f', 1);
    values["substrate"] = random.pick(kSubstrateWords);
    values["stratum_c"] = station.stratum;
    values["veg_cov"] = rounded(cover, 0);
    values["veg_den"] = rounded(cover * random.between(0.3, 1.0), 0);
    if (cover > 0)
        values["veg_name"] = drawVegetationSpecies(random, QString());
    return values;
}

Values invertSample(const Period& period, const Station& station, int sequence, Random& random) {
    const QStringList& percent = labels(PickListId::InvertPercent);
    const bool weedy = isBackwater(station.region) || station.region == Region::Impounded;
    auto percentClass = [&](bool likely) { return likely ? random.pick(percent) : percent.first(); };
    Values values;
    values["barcode"] = barcodeOf(3, period, sequence);
    values["date"] = sampleDate(period, random);
    values["stratum"] = station.stratum;
    values["depth"] = measured(depthIn(station.region, random), 2, random);
    values["pct_veg"] = percentClass(weedy);
    values["pct_open"] = percentClass(true);
    values["pct_sub"] = percentClass(weedy);
    values["pct_float"] = percentClass(weedy && random.chance(0.5));
    values["pct_emerg"] = percentClass(weedy && random.chance(0.4));
    values["pct_shells"] = percentClass(random.chance(0.4));
    values["pct_detrit"] = percentClass(true);
    values["fine_org"] = random.pick(labels(PickListId::InvertFineOrganics));
    values["substrate"] = random.pick(labels(PickListId::InvertSubstrate));
    values["mayflies"] = countOf(weedy ? 400 : 120, random);
    values["fgnl_clams"] = countOf(180, random);
    values["corbicula"] = countOf(isFlowing(station.region) ? 40 : 8, random);
    values["midges"] = countOf(300, random);
    values["zebra_mus"] = countOf(period.year >= 1995 ? 60 : 5, random);
    return values;
}

Values fishHaul(const Period& period, const Station& station, int sequence, Random& random) {
    const QStringList& gear = labels(PickListId::FishGear);
    // Shorelines are electrofished; offshore and channel waters are netted or trawled.
    const bool shore = station.region == Region::BackwaterShoreline ||
                       station.region == Region::ImpoundedShoreline ||
                       station.region == Region::MainChannelBorder || station.region == Region::WingDamBorder;
    const QString gearUsed = shore && random.chance(0.7) ? gear.at(random.integer(0, 1)) : random.pick(gear);
    const bool electric = gearUsed.contains(QLatin1String("Electrofishing"));
    Values values;
    values["barcode"] = barcodeOf(2, period, sequence);
    values["loc_code"] = locationCode('f', sequence);
    values["stratum"] = station.stratum;
    values["date"] = sampleDate(period, random);
    values["gear"] = gearUsed;
    values["depth"] = measured(depthIn(station.region, random), 2, random);
    values["velocity"] = maybeEmpty(measured(velocityIn(station.region, random), 2, random), random);
    values["veg_den"] = maybeEmpty(random.pick(labels(PickListId::FishVegDensity)), random);
    values["substrat"] = maybeEmpty(random.pick(labels(PickListId::FishSubstrate)), random);
    values["catch_eff"] = measured(electric ? 0.25 : random.between(2, 24), 2, random);
    return values;
}

Values fishCatch(const Values& haul, const QString& species, Random& random) {
    Values values = haul;
    values["species"] = species;
    const bool none = species == QLatin1String("No fish caught");
    values["ave_len"] = none ? QVariant(kNotMeasured) : measured(random.between(25, 480), 1, random);
    values["count"] = none ? QVariant(0) : QVariant(1 + random.integer(0, 3) * random.integer(0, 15));
    return values;
}

Values vegetationSite(const Period& period, const Station& station, int sequence, const QStringList& species,
                      Random& random) {
    const QStringList& cover = labels(PickListId::VegPercentCover);
    const bool bare = species.contains(QStringLiteral("No Aquatic Vegetation"));
    auto coverClass = [&](bool present) {
        return present ? cover.at(random.integer(1, cover.size() - 1)) : cover.first();
    };
    const bool submersed = !bare && random.chance(0.8);
    const bool floating = !bare && random.chance(0.4);
    const bool emergent = !bare && random.chance(0.3);
    const bool algae = !bare && random.chance(0.2);
    const bool nonRooted = !bare && random.chance(0.35);
    auto letter = [](bool present, PickListId id) {
        return present ? QVariant(pickList(id).labels.first()) : QVariant();
    };
    Values values;
    values["barcode"] =
        QStringLiteral("V%1-%2").arg(period.year % 100, 2, 10, QChar('0')).arg(sequence, 5, 10, QChar('0'));
    values["date"] = sampleDate(period, random);
    values["detritus"] = random.pick(labels(PickListId::VegDetritus));
    values["substrate"] = maybeEmpty(random.pick(labels(PickListId::VegSubstrate)), random);
    values["map_strat"] = station.stratum;
    values["unveg"] = letter(bare, PickListId::VegUnvegetated);
    values["sub"] = letter(submersed, PickListId::VegSubmersed);
    values["float"] = letter(floating, PickListId::VegRootedFloating);
    values["emerg"] = letter(emergent, PickListId::VegEmergent);
    values["algae"] = letter(algae, PickListId::VegAlgae);
    values["non_rf"] = letter(nonRooted, PickListId::VegNonRootedFloating);
    values["pctcov_nrf"] = coverClass(nonRooted);
    values["pctcov_flt"] = coverClass(floating);
    values["pctcov_emg"] = coverClass(emergent);
    values["wd_avg"] = maybeEmpty(measured(depthIn(station.region, random), 2, random), random);
    values["pd_avg_txt"] = coverClass(submersed);
    if (floating || emergent)
        values["spec_cov"] = cover.at(random.integer(1, cover.size() - 1));
    return values;
}

Values vegetationRecord(const Values& site, const QString& species, Random& random) {
    Values values = site;
    values["species"] = species;
    if (random.chance(0.12))
        values["addit_spec"] = drawVegetationSpecies(random, species);
    return values;
}

QString drawFishSpecies(Random& random) {
    static const QStringList kCommon = knownNames(
        {
            "Bluegill",
            "Gizzard shad",
            "Emerald shiner",
            "Freshwater drum",
            "Common carp",
            "Channel catfish",
            "Largemouth bass",
            "Black crappie",
            "White bass",
            "Smallmouth buffalo",
            "Spotfin shiner",
            "Bullhead minnow",
            "Shorthead redhorse",
            "Sauger",
            "Walleye",
            "Northern pike",
            "Bowfin",
            "Shortnose gar",
            "Yellow perch",
            "River carpsucker",
            "Golden shiner",
            "Pumpkinseed",
            "White crappie",
            "Spottail shiner",
            "Mooneye",
        },
        fishSpecies());
    return random.chance(0.8) ? random.pick(kCommon) : random.pick(fishSpecies());
}

QString drawVegetationSpecies(Random& random, const QString& excluded) {
    static const QStringList kCommon = knownNames(
        {
            "Coons Tail",           "Wild Celery",           "Sago Pondweed",
            "Curly Pondweed",       "Canadian Waterweed",    "American Lotus",
            "White Waterlily",      "Common Duckweed",       "Arrowhead",
            "Reed Canary Grass",    "Eurasian Watermilfoil", "Water Stargrass",
            "Long-leaf Pondweed",   "Filamentous Algae",     "Watermeal",
            "Broad-leaf Arrowhead", "River Bulrush",         "Smartweed",
            "Flat-stem Pondweed",   "Nodding Waternymph",
        },
        vegetationSpecies());
    for (;;) {
        // Skip the first entry, "No Aquatic Vegetation": it is not a plant found.
        const QStringList& all = vegetationSpecies();
        const QString drawn =
            random.chance(0.8) ? random.pick(kCommon) : all.at(random.integer(1, all.size() - 1));
        if (drawn != excluded)
            return drawn;
    }
}

} // namespace quillfen::sample_data
