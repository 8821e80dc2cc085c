#pragma once

#include <QStringList>

namespace quillfen {

/// The fish species list of the query window's value box (247 names, two of them twice).
const QStringList& fishSpecies();
/// The vegetation species list (101 names, first "No Aquatic Vegetation").
const QStringList& vegetationSpecies();

} // namespace quillfen
