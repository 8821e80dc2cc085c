#pragma once

// The demonstration data as the files hold it, read through GDAL/OGR on its own (not through
// the program's database engine or map control), and the check of a grid row against it.

#include "layer_selection/sampling_periods.h"

#include <QMap>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <vector>

namespace quillfen {
class RecordGridModel;
}

namespace datafiles {

/// One record of a layer or table: the field values (int, double, QString or QDate; a null
/// QVariant for an empty field) and, for a layer, the point it lies at.
struct Record {
    QMap<QString, QVariant> values;
    bool hasPoint = false;
    QPointF point;

    QVariant value(const QString& field) const { return values.value(field); }
    int gridCode() const { return values.value(QStringLiteral("grid_code")).toInt(); }
};
using Records = std::vector<Record>;

/// The data folder the main window reads: "data" beside the test executable.
QString dataFolder();
/// Every feature of the layer "kx…" (shapefile) in record order.
Records layerRecords(const QString& layerCode);
/// Every record of the companion table (plain dBASE file) in record order.
Records tableRecords(const QString& table);

Records matching(const Records& records, const std::function<bool(const Record&)>& keep);
Records withGridCode(const Records& records, int code);
QSet<int> gridCodes(const Records& records);
/// The site of a fish or vegetation layer with that code.
Record site(const Records& sites, int code);

/// The records whose point lies inside the polygon (vertices in map units, closed implicitly),
/// in record order.
Records inside(const Records& records, const QVector<QPointF>& ring);

/// Why grid row `row` does not show `record` under record number `number` in the layout of
/// `kind`; an empty text when it does. Numbers are compared as numbers, dates as M/D/YYYY,
/// texts as stored, and an empty field must leave an empty cell.
QString rowMismatch(const quillfen::RecordGridModel& grid, int row, int number, const Record& record,
                    quillfen::SampleKind kind);

/// Fails the running test unless the grid lists exactly `records` numbered from 1, each in its
/// row, followed by `trailingEmptyRows` empty rows and nothing else.
void verifyListing(const quillfen::RecordGridModel& grid, const Records& records, quillfen::SampleKind kind,
                   int trailingEmptyRows);

/// True when no cell below the heading row holds text.
bool hasNoRecordText(const quillfen::RecordGridModel& grid);

} // namespace datafiles
