#pragma once

#include "layer_selection/sampling_periods.h"
#include "mapcontrol/map_layers.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <memory>

namespace quillfen {

class RecordGridModel;

/// Where the hits of a run go: the grid rows, numbered on from `recordCounter`, and the
/// shapes to paint in yellow.
struct RunListing {
    RecordGridModel& grid;
    int recordCounter = 0;
    QVector<mapcontrol::Shape> highlights;
};

/// The site features of a layer by the text of their `grid_code`.
using SiteIndex = QHash<QString, QVector<int>>;

/// Site indexes of the layers' datasets, each built once and kept while its dataset lives
/// (a dataset is replaced when its file changes).
class SiteIndexCache {
public:
    const SiteIndex& of(const mapcontrol::VectorLayer& sites);

private:
    struct Entry {
        std::weak_ptr<const mapcontrol::Dataset> dataset;
        SiteIndex index;
    };
    QHash<const mapcontrol::Dataset*, Entry> entries_;
};

/// The fish and vegetation records of one draw/query layer, read from its companion table
/// in the data folder and linked to the layer's sites by `grid_code`.
class CompanionLookup {
public:
    CompanionLookup(SampleKind kind, const QString& dataPath, const QString& periodCode);

    /// Logical query: lists the table's records that satisfy `expression` and paints every
    /// site whose code occurs among them. Returns an error message, or an empty text.
    QString listByExpression(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                             const QString& expression, RunListing& listing) const;
    /// Graphical query: paints each found site that has a shape and lists the table's records
    /// with exactly its code. Returns an error message, or an empty text.
    QString listBySites(mapcontrol::RecordCursor& foundSites, RunListing& listing) const;

private:
    QString writeRecords(const QString& sql, RunListing& listing) const;

    SampleKind kind_;
    QString dataPath_;
    QString table_;
};

/// A text put between apostrophes in a select, with any apostrophe in it doubled.
QString quotedSqlText(const QString& text);

}  // namespace quillfen
