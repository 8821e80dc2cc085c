#include "companion_tables.h"

#include "catalogue/data_catalogue.h"
#include "shape_writer.h"

namespace quillfen::sample_data {
namespace {

const FieldSpec kGridCode{kSiteCodeField, OFTInteger, 9, 0};

std::vector<FieldSpec> tableFields(SampleKind kind) {
    std::vector<FieldSpec> fields = storedFields(kind);
    fields.push_back(kGridCode);
    return fields;
}

} // namespace

void writeCatchTable(const QString& folder, const Period& period, const std::vector<Site>& sites,
                     Random& random) {
    const std::vector<FieldSpec> fields = tableFields(SampleKind::Fish);
    ShapeWriter table(folder, companionTable(SampleKind::Fish, period.code), wkbNone, fields);
    int sequence = 0;
    for (const Site& site : sites) {
        const Values haul = fishHaul(period, site.station, ++sequence, random);
        for (const QString& species : site.species) {
            Values record = fishCatch(haul, species, random);
            record[kSiteCodeField] = site.code;
            table.write(nullptr, inFieldOrder(fields, record));
        }
    }
}

void writeVegetationSiteTable(const QString& folder, const Period& period, const std::vector<Site>& sites,
                              Random& random) {
    const std::vector<FieldSpec> fields = tableFields(SampleKind::Veg);
    ShapeWriter table(folder, companionTable(SampleKind::Veg, period.code), wkbNone, fields);
    int sequence = 0;
    for (const Site& site : sites) {
        const Values shared = vegetationSite(period, site.station, ++sequence, site.species, random);
        for (const QString& species : site.species) {
            Values record = vegetationRecord(shared, species, random);
            record[kSiteCodeField] = site.code;
            table.write(nullptr, inFieldOrder(fields, record));
        }
    }
}

} // namespace quillfen::sample_data
