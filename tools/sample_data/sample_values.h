#pragma once

#include "random.h"
#include "reach_geometry.h"
#include "shape_writer.h"

#include "catalogue/sampling_periods.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

namespace quillfen::sample_data {

enum class Season { Winter, Spring, Summer, Fall, WholeYear };

/// A sampling period as the values need it: kind, code, year and season.
struct Period {
    SampleKind kind;
    QString code;
    int year;
    Season season;
};
Period periodOf(SampleKind kind, const QString& periodCode);

/// Where one sample was taken: the stratum label its record names, and the water region
/// that label stands for.
struct Station {
    QString stratum;
    Region region;
};

/// The attribute values of one record, by field name; a missing or null value stays empty.
using Values = QHash<QString, QVariant>;

/// How each field of a kind is stored, in the grid order of its fields (the fields of the
/// layer for water quality and macro-invertebrates, of the companion table for fish and
/// vegetation). Barcodes are integers except the vegetation barcode, which is text; dates
/// are dBASE dates; times, depths z and z_max, and words are text; measurements are reals;
/// the macro-invertebrate and fish counts are integers.
std::vector<FieldSpec> storedFields(SampleKind kind);

/// The value of every field for one record, in field order (for writing).
std::vector<QVariant> inFieldOrder(const std::vector<FieldSpec>& fields, const Values& values);

/// The stored value that marks a measurement as not taken.
constexpr double kNotMeasured = -99.0;

Values waterSample(const Period& period, const Station& station, int sequence, Random& random);
Values invertSample(const Period& period, const Station& station, int sequence, Random& random);
/// The values a fish site's catch records share (everything but species, length and count).
Values fishHaul(const Period& period, const Station& station, int sequence, Random& random);
/// One catch record of a haul: the haul's values plus species, average length and count.
Values fishCatch(const Values& haul, const QString& species, Random& random);
/// The values a vegetation site's records share; the species decide the presence letters.
Values vegetationSite(const Period& period, const Station& station, int sequence, const QStringList& species,
                      Random& random);
/// One record of a vegetation site: the site's values plus one species.
Values vegetationRecord(const Values& site, const QString& species, Random& random);

/// A species drawn as a survey finds them: the common ones often, any of the list now and then.
QString drawFishSpecies(Random& random);
/// Draws vegetation species, never the excluded one.
QString drawVegetationSpecies(Random& random, const QString& excluded);

} // namespace quillfen::sample_data
