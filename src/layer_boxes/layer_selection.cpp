#include "layer_boxes/layer_selection.h"

#include <QCheckBox>

namespace quillfen {

const QVector<SampleKind>& untickOrder(SampleKind kind) {
    using K = SampleKind;
    static const QHash<K, QVector<K>> orders = {
        {K::Water, {K::Veg, K::Invert, K::Fish}},
        {K::Fish, {K::Veg, K::Invert, K::Water}},
        {K::Invert, {K::Veg, K::Fish, K::Water}},
        {K::Veg, {K::Fish, K::Water, K::Invert}},
    };
    return *orders.find(kind);
}

LayerSelection::LayerSelection() {
    clear_draw_query_list();
}

void LayerSelection::setBoxes(SampleKind kind, const QVector<QCheckBox*>& boxes) {
    boxes_[kind] = boxes;
}

const QVector<QCheckBox*>& LayerSelection::boxes(SampleKind kind) const {
    static const QVector<QCheckBox*> none;
    auto it = boxes_.find(kind);
    return it == boxes_.end() ? none : *it;
}

void LayerSelection::turnOff(SampleKind kind) {
    for (QCheckBox* box : boxes(kind))
        box->setChecked(false);
}

void LayerSelection::clear_draw_query_list() {
    draw_query_list = QStringList();
    for (int i = 0; i < kDrawQueryListSize; ++i)
        draw_query_list.append(QString());
}

bool LayerSelection::collectLayers(SampleKind kind) {
    for (SampleKind other : untickOrder(kind))
        turnOff(other);
    clear_draw_query_list();
    const QVector<SamplingPeriod>& periods = samplingPeriods(kind);
    const QVector<QCheckBox*>& kindBoxes = boxes(kind);
    bool anyTicked = false;
    for (int i = 0; i < periods.size() && i < kindBoxes.size(); ++i) {
        if (kindBoxes[i]->isChecked()) {
            draw_query_list[i] = periods[i].periodCode;
            component = kindLetter(kind);
            anyTicked = true;
        }
    }
    return anyTicked;
}

bool LayerSelection::query_layer_selected() const {
    for (const QString& entry : draw_query_list) {
        if (!entry.isEmpty())
            return true;
    }
    return false;
}

QStringList LayerSelection::selectionList() const {
    QStringList codes;
    for (const QString& entry : draw_query_list) {
        if (!entry.isEmpty())
            codes.append(entry);
    }
    return codes;
}

QStringList LayerSelection::tickedLayerCodes() const {
    QStringList codes;
    for (SampleKind kind : allSampleKinds()) {
        const QVector<SamplingPeriod>& periods = samplingPeriods(kind);
        const QVector<QCheckBox*>& kindBoxes = boxes(kind);
        for (int i = 0; i < periods.size() && i < kindBoxes.size(); ++i) {
            if (kindBoxes[i]->isChecked())
                codes.append(layerCode(kind, periods[i].periodCode));
        }
    }
    return codes;
}

} // namespace quillfen
