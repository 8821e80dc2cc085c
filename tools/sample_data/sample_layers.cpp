#include "sample_layers.h"

#include "catalogue/data_catalogue.h"
#include "companion_tables.h"
#include "region_sampler.h"
#include "sample_values.h"
#include "shape_writer.h"

#include "catalogue/pick_lists.h"

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

namespace quillfen::sample_data {
namespace {

/// Samples per layer (or sites per fish or vegetation layer) at scale 1.
constexpr int kWaterSamples = 140;
constexpr int kInvertSamples = 120;
constexpr int kFishSites = 90;
constexpr int kVegetationSites = 450;
constexpr int kMostCatchRecords = 8;
constexpr int kMostVegetationRecords = 3;

constexpr int kEmptyHaulSite = 7;
constexpr int kBusyHaulSite = 12;
constexpr int kBusyHaulRecords = 4;
constexpr int kLongCode = 120;
constexpr int kWildRiceSite = 33;
const int kBluegillSites[] = {12, 20, 33};
const QString kPlantedPeriodFish = QStringLiteral("93sm");
const QString kPlantedPeriodVegetation = QStringLiteral("98");
const QString kRareSpecies = QStringLiteral("Wild Rice");
const QString kUnvegetated = QStringLiteral("No Aquatic Vegetation");

/// A stratum label, the water region it stands for and how often samples fall in it.
struct StratumPlace {
    const char* label;
    Region region;
    int weight;
};

// clang-format off
const std::vector<StratumPlace> kWaterStrata = {
    {"Isolated", Region::IsolatedBackwater, 12}, {"Backwater Contiguous", Region::ContiguousBackwater, 25},
    {"Side Channel", Region::SideChannel, 20},   {"Main Channel", Region::MainChannel, 28},
    {"Impounded", Region::Impounded, 15},
};
const std::vector<StratumPlace> kInvertStrata = {
    {"Backwater Contiguous", Region::ContiguousBackwater, 30}, {"Side Channel", Region::SideChannel, 20},
    {"Impounded", Region::Impounded, 20}, {"Main Channel Border", Region::MainChannelBorder, 20},
    {"Tributary Delta Lake", Region::TributaryDeltaLake, 10},
};
const std::vector<StratumPlace> kFishStrata = {
    {"Main chan border-unstructured", Region::MainChannelBorder, 18},
    {"Main chan border-wing dam", Region::WingDamBorder, 10},
    {"Side channel border", Region::SideChannel, 16},
    {"Backwater-shoreline", Region::BackwaterShoreline, 18},
    {"Backwater-offshore", Region::BackwaterOffshore, 12},
    {"Impounded-shoreline", Region::ImpoundedShoreline, 14},
    {"Impounded-offshore", Region::ImpoundedOffshore, 12},
};
const std::vector<StratumPlace> kVegetationStrata = {
    {"Backwater Contiguous", Region::ContiguousBackwater, 30}, {"Backwater Isolated", Region::IsolatedBackwater, 15},
    {"Main Channel Border", Region::MainChannelBorder, 10},    {"Side Channel", Region::SideChannel, 15},
    {"Impounded", Region::Impounded, 22},                      {"Tributary Delta Lake", Region::TributaryDeltaLake, 8},
};
// clang-format on

const std::vector<StratumPlace>& strataOf(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return kWaterStrata;
    case SampleKind::Fish:
        return kFishStrata;
    case SampleKind::Invert:
        return kInvertStrata;
    case SampleKind::Veg:
        break;
    }
    return kVegetationStrata;
}

PickListId strataListOf(SampleKind kind) {
    switch (kind) {
    case SampleKind::Water:
        return PickListId::WaterStrata;
    case SampleKind::Fish:
        return PickListId::FishStrata;
    case SampleKind::Invert:
        return PickListId::InvertStrata;
    case SampleKind::Veg:
        break;
    }
    return PickListId::VegStrata;
}

const FieldSpec kGridCode{kSiteCodeField, OFTInteger, 9, 0};

class SampleDataWriter {
public:
    SampleDataWriter(const Reach& reach, const QString& folder, quint64 seed, int scale)
        : reach_(reach), folder_(folder), seed_(seed), scale_(scale) {}

    void writeAll() {
        for (SampleKind kind : allSampleKinds())
            checkStrataLabels(kind);
        for (const SamplingPeriod& p : samplingPeriods(SampleKind::Water))
            writeWaterLayer(periodOf(SampleKind::Water, p.periodCode));
        for (const SamplingPeriod& p : samplingPeriods(SampleKind::Fish))
            writeFishPeriod(periodOf(SampleKind::Fish, p.periodCode));
        for (const SamplingPeriod& p : samplingPeriods(SampleKind::Invert))
            writeInvertLayer(periodOf(SampleKind::Invert, p.periodCode));
        for (const SamplingPeriod& p : samplingPeriods(SampleKind::Veg))
            writeVegetationPeriod(periodOf(SampleKind::Veg, p.periodCode));
    }

private:
    /// Every stratum label placed must be one the query window offers.
    static void checkStrataLabels(SampleKind kind) {
        const QStringList& offered = pickList(strataListOf(kind)).labels;
        for (const StratumPlace& place : strataOf(kind)) {
            if (!offered.contains(QLatin1String(place.label)))
                throw std::logic_error(std::string("not an offered stratum: ") + place.label);
        }
    }

    Random randomFor(const Period& period) const {
        return Random::forPart(seed_, layerCode(period.kind, period.code));
    }

    Station drawStation(SampleKind kind, Random& random) const {
        const std::vector<StratumPlace>& strata = strataOf(kind);
        int total = 0;
        for (const StratumPlace& place : strata)
            total += place.weight;
        int draw = random.integer(0, total - 1);
        for (const StratumPlace& place : strata) {
            if (draw < place.weight)
                return {QString::fromLatin1(place.label), place.region};
            draw -= place.weight;
        }
        return {QString::fromLatin1(strata.back().label), strata.back().region};
    }

    QPointF placeIn(Region region, Random& random) {
        std::unique_ptr<RegionSampler>& sampler = samplers_[region];
        if (!sampler) {
            sampler = std::make_unique<RegionSampler>(*reach_.regions.at(region));
            if (sampler->isEmpty())
                throw std::logic_error("a sampling region of the reach is empty");
        }
        return sampler->samplePoint(random);
    }

    void writeWaterLayer(const Period& period) {
        Random random = randomFor(period);
        const std::vector<FieldSpec> fields = storedFields(SampleKind::Water);
        ShapeWriter layer(folder_, layerCode(period.kind, period.code), wkbPoint, fields);
        const int count = kWaterSamples * scale_;
        for (int i = 1; i <= count; ++i) {
            const Station station = drawStation(SampleKind::Water, random);
            const QPointF at = placeIn(station.region, random);
            const OGRPoint point(at.x(), at.y());
            layer.write(&point, inFieldOrder(fields, waterSample(period, station, i, random)));
        }
        if (period.code == QLatin1String("93sm")) {
            const Station isolated{QStringLiteral("Isolated"), Region::IsolatedBackwater};
            Values lost = waterSample(period, isolated, count + 1, random);
            lost["dis_oxygen"] = 3.4;
            layer.write(nullptr, inFieldOrder(fields, lost));
        }
    }

    void writeInvertLayer(const Period& period) {
        Random random = randomFor(period);
        const std::vector<FieldSpec> fields = storedFields(SampleKind::Invert);
        ShapeWriter layer(folder_, layerCode(period.kind, period.code), wkbPoint, fields);
        for (int i = 1; i <= kInvertSamples * scale_; ++i) {
            const Station station = drawStation(SampleKind::Invert, random);
            const QPointF at = placeIn(station.region, random);
            const OGRPoint point(at.x(), at.y());
            layer.write(&point, inFieldOrder(fields, invertSample(period, station, i, random)));
        }
    }

    std::vector<Site> placeSites(SampleKind kind, int count, Random& random) {
        std::vector<Site> sites;
        for (int i = 1; i <= count; ++i) {
            const Station station = drawStation(kind, random);
            sites.push_back({i, placeIn(station.region, random), station, {}});
        }
        if (count < kLongCode)
            sites.back().code = kLongCode;
        return sites;
    }

    void writeSiteLayer(const Period& period, const std::vector<Site>& sites) {
        ShapeWriter layer(folder_, layerCode(period.kind, period.code), wkbPoint, {kGridCode});
        for (const Site& site : sites) {
            const OGRPoint point(site.at.x(), site.at.y());
            layer.write(&point, {site.code});
        }
    }

    static QStringList distinctSpecies(int count, const std::function<QString()>& draw) {
        QStringList species;
        while (species.size() < count) {
            const QString name = draw();
            if (!species.contains(name))
                species.append(name);
        }
        return species;
    }

    static Site* siteCoded(std::vector<Site>& sites, int code) {
        for (Site& site : sites) {
            if (site.code == code)
                return &site;
        }
        throw std::logic_error("a planted site is missing");
    }

    void writeFishPeriod(const Period& period) {
        Random random = randomFor(period);
        std::vector<Site> sites = placeSites(SampleKind::Fish, kFishSites * scale_, random);
        for (Site& site : sites) {
            const int records = random.integer(0, kMostCatchRecords);
            site.species = random.chance(0.04)
                               ? QStringList{QStringLiteral("No fish caught")}
                               : distinctSpecies(records, [&] { return drawFishSpecies(random); });
        }
        if (period.code == kPlantedPeriodFish)
            plantFishCases(sites, random);
        writeSiteLayer(period, sites);
        writeCatchTable(folder_, period, sites, random);
    }

    static void plantFishCases(std::vector<Site>& sites, Random& random) {
        siteCoded(sites, kEmptyHaulSite)->species.clear();
        for (int code : kBluegillSites) {
            QStringList& species = siteCoded(sites, code)->species;
            species.removeAll(QStringLiteral("Bluegill"));
            species.removeAll(QStringLiteral("No fish caught"));
            species.prepend(QStringLiteral("Bluegill"));
            while (species.size() > kMostCatchRecords)
                species.removeLast();
        }
        QStringList& busy = siteCoded(sites, kBusyHaulSite)->species;
        while (busy.size() < kBusyHaulRecords) {
            const QString name = drawFishSpecies(random);
            if (!busy.contains(name) && name != QLatin1String("No fish caught"))
                busy.append(name);
        }
        while (busy.size() > kBusyHaulRecords)
            busy.removeLast();
    }

    void writeVegetationPeriod(const Period& period) {
        Random random = randomFor(period);
        std::vector<Site> sites = placeSites(SampleKind::Veg, kVegetationSites * scale_, random);
        for (Site& site : sites) {
            const int records = random.integer(1, kMostVegetationRecords);
            site.species = random.chance(0.1) ? QStringList{kUnvegetated} : distinctSpecies(records, [&] {
                return drawVegetationSpecies(random, kRareSpecies);
            });
        }
        if (period.code == kPlantedPeriodVegetation)
            siteCoded(sites, kWildRiceSite)->species =
                QStringList{kRareSpecies, QStringLiteral("Coons Tail")};
        writeSiteLayer(period, sites);
        writeVegetationSiteTable(folder_, period, sites, random);
    }

    const Reach& reach_;
    QString folder_;
    quint64 seed_;
    int scale_;
    std::map<Region, std::unique_ptr<RegionSampler>> samplers_;
};

} // namespace

void writeSampleData(const Reach& reach, const QString& folder, quint64 seed, int scale) {
    SampleDataWriter(reach, folder, seed, scale).writeAll();
}

} // namespace quillfen::sample_data
