#pragma once

#include "sample_values.h"

#include <QPointF>
#include <QStringList>

#include <vector>

namespace quillfen::sample_data {

/// A fish or vegetation sampling site: its code (grid_code), where it lies, its stratum, and
/// the species its records name, one record each (none for a fish site that caught nothing).
struct Site {
    int code;
    QPointF at;
    Station station;
    QStringList species;
};

/// Writes the catch table "kxr" + period code: for every site one record per species caught,
/// with the fields of the fish schema in grid order and grid_code.
void writeCatchTable(const QString& folder, const Period& period, const std::vector<Site>& sites,
                     Random& random);

/// Writes the site table "kxv" + year + "d": for every site one record per species found, with
/// the fields of the vegetation schema in grid order and grid_code.
void writeVegetationSiteTable(const QString& folder, const Period& period, const std::vector<Site>& sites,
                              Random& random);

} // namespace quillfen::sample_data
