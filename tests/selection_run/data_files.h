#pragma once

// The demonstration data as the files hold it, read through GDAL/OGR on its own (not through
// the program's database engine or map control), and the check of the grid against it.

#include "catalogue/sampling_periods.h"
#include "sample_data/file_records.h"

#include <QPointF>
#include <QSet>
#include <QTest>
#include <QVector>

#include <functional>

namespace quillfen {
class RecordGridModel;
}

namespace datafiles {

/// Every feature of the layer "kx…" of the data folder beside the test executable.
Records layerRecords(const QString& layerCode);
/// Every record of the companion table (plain dBASE file) in record order.
Records tableRecords(const QString& table);

Records matching(const Records& records, const std::function<bool(const Record&)>& keep);
Records withGridCode(const Records& records, int code);
Records withSpecies(const Records& records, const QString& species);
Records joined(Records first, const Records& second);
QSet<int> gridCodes(const Records& records);
/// The site of a fish or vegetation layer with that code.
Record site(const Records& sites, int code);

/// The records whose point lies inside the polygon (vertices in map units, closed implicitly),
/// in record order.
Records inside(const Records& records, const QVector<QPointF>& ring);

/// Fails the running test unless the grid lists exactly `records` numbered from 1, each in its
/// row, followed by `trailingEmptyRows` empty rows and nothing else. Numbers are compared as
/// numbers, dates as M/D/YYYY, texts as stored, and an empty field must leave an empty cell.
void verifyListing(const quillfen::RecordGridModel& grid, const Records& records, quillfen::SampleKind kind,
                   int trailingEmptyRows);

/// True when no cell below the heading row holds text.
bool hasNoRecordText(const quillfen::RecordGridModel& grid);

} // namespace datafiles

#define VERIFY_LISTING(grid, records, kind, emptyRows)                                                       \
    do {                                                                                                     \
        datafiles::verifyListing(grid, records, kind, emptyRows);                                            \
        if (QTest::currentTestFailed())                                                                      \
            return;                                                                                          \
    } while (false)
