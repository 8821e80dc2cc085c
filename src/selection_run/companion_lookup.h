#pragma once

#include "catalogue/sampling_periods.h"
#include "mapcontrol/map_layers.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <vector>

namespace quillfen {

class RecordGridModel;

/// Features of one dataset to paint in yellow, by feature index.
struct Highlight {
    mapcontrol::DatasetPtr dataset;
    QVector<int> features;
};

/// Where the hits of a run go: the grid rows, numbered on from `recordCounter`, and the
/// features to paint in yellow.
struct RunListing {
    RecordGridModel& grid;
    int recordCounter = 0;
    QVector<Highlight> highlights;
};

/// The site features of a layer by the text of their `grid_code`, and that text by feature.
struct SiteIndex {
    QHash<QString, QVector<int>> featuresByCode;
    QStringList codeOfFeature;
};

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
/// in the data folder and linked to the layer's sites by `grid_code`. Records go from the
/// engine straight into the grid, in the order they are listed.
class CompanionLookup {
public:
    CompanionLookup(SampleKind kind, const QString& dataPath, const QString& periodCode);

    /// The file of the companion table; empty when the folder has none.
    QString tableFile() const;

    /// Logical query: lists the table's records that satisfy `expression` and paints every
    /// site whose code occurs among them. Returns an error message, or an empty text.
    QString listByExpression(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                             const QString& expression, RunListing& listing) const;
    /// Graphical query: paints each site inside the polygon (`inside`, one flag per feature)
    /// and lists the table's records with exactly its code, site by site in feature order.
    /// Returns an error message, or an empty text.
    QString listBySites(const mapcontrol::VectorLayer& sites, const SiteIndex& siteIndex,
                        const std::vector<bool>& inside, RunListing& listing) const;

private:
    SampleKind kind_;
    QString dataPath_;
    QString table_;
};

} // namespace quillfen
