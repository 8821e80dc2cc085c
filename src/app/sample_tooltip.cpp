#include "app/sample_tooltip.h"

#include "catalogue/data_catalogue.h"
#include "catalogue/sampling_periods.h"
#include "mapcontrol/map_control.h"
#include "tabledb/table_database.h"

#include <QLineF>

namespace quillfen {
namespace {

struct PointUnder {
    std::shared_ptr<const mapcontrol::VectorLayer> layer;
    int feature = -1;
    SampleKind kind{};
    SamplingPeriod period;
};

/// The sample points whose markers cover the pixel, the one drawn last (on top) first.
QVector<PointUnder> pointsUnder(const mapcontrol::MapControl& map, QPointF pixel) {
    QVector<PointUnder> found;
    for (int position = 0; position < map.layerCount(); ++position) {
        auto layer = std::dynamic_pointer_cast<const mapcontrol::VectorLayer>(map.layer(position));
        PointUnder under{layer, -1, {}, {}};
        if (!layer || !layer->visible || !samplePeriodOfLayer(layer->name(), &under.kind, &under.period))
            continue;
        const mapcontrol::Dataset& dataset = *layer->dataset();
        const double radius = layer->symbol.size / 2 + 1;
        for (int feature = dataset.featureCount() - 1; feature >= 0; --feature) {
            if (!dataset.hasGeometry(feature))
                continue;
            const QPointF point = dataset.point(dataset.pointBegin(dataset.partBegin(feature)));
            if (QLineF(map.mapToScreen(point), pixel).length() <= radius) {
                under.feature = feature;
                found.append(under);
            }
        }
    }
    return found;
}

/// The value of a field of one feature of the layer's attribute table, as the grid shows it.
QString featureText(const mapcontrol::VectorLayer& layer, int feature, const QString& field) {
    tabledb::RecordSet records = layer.dataset()->allRecords();
    for (records.moveFirst(); !records.atEnd(); records.next()) {
        if (records.rowNumber() == feature)
            return mapcontrol::fieldText(records.value(field));
    }
    return QString();
}

/// The distinct dates of a site's records in its companion table, in record order.
QString siteDates(const QString& dataPath, const QString& table, const QString& site) {
    QString quoted = site;
    quoted.replace('\'', "''");
    const tabledb::SelectResult result = tabledb::Engine::instance().open(dataPath).select(
        "SELECT DISTINCT date FROM " + table + " WHERE " + kSiteCodeField + " = '" + quoted + "';");
    QStringList dates;
    for (tabledb::RecordSet records = result.records; !records.atEnd(); records.next())
        dates << mapcontrol::fieldText(records.value(0));
    return dates.join(", ");
}

} // namespace

QString sampleTooltip(const mapcontrol::MapControl& map, QPoint pixel, const QString& dataPath) {
    const QVector<PointUnder> under = pointsUnder(map, QPointF(pixel) + QPointF(0.5, 0.5));
    if (under.isEmpty())
        return QString();
    const PointUnder& top = under.first();
    QStringList lines{top.period.caption + ' ' + kindName(top.kind)};
    const mapcontrol::VectorLayer& layer = *top.layer;
    switch (top.kind) {
    case SampleKind::Water:
        lines << "Location Code: " + featureText(layer, top.feature, "loc_code");
        lines << "Date: " + featureText(layer, top.feature, "date");
        break;
    case SampleKind::Invert:
        lines << "Barcode: " + featureText(layer, top.feature, "barcode");
        lines << "Date: " + featureText(layer, top.feature, "date");
        break;
    case SampleKind::Fish:
    case SampleKind::Veg: {
        const QString site = featureText(layer, top.feature, kSiteCodeField);
        lines << "Site: " + site;
        lines << "Date: " + siteDates(dataPath, companionTable(top.kind, top.period.periodCode), site);
        break;
    }
    }
    if (under.size() > 1)
        lines << QStringLiteral("and %1 more here").arg(under.size() - 1);
    return lines.join('\n');
}

} // namespace quillfen
