#pragma once

// Layer boxes (folder layer_boxes): the sample check boxes, the draw and query lists they make,
// and the tabbed layer panel that builds them. Uses the catalogue, the window parts and the
// legend swatches of layer_loading.

#include "catalogue/sampling_periods.h"

#include <QHash>
#include <QStringList>
#include <QVector>

class QCheckBox;

namespace quillfen {

/// The sample check boxes and the draw/query list they fill: the periods of one sample kind
/// whose boxes are ticked are the layers that the selections work on.
///
/// Boxes are unticked from code with setChecked(), which runs no click handling: click
/// handling is connected to the boxes' clicked() signal only.
class LayerSelection {
public:
    LayerSelection();

    /// The boxes of a kind, in index order (owned by the window that shows them).
    void setBoxes(SampleKind kind, const QVector<QCheckBox*>& boxes);
    const QVector<QCheckBox*>& boxes(SampleKind kind) const;

    void turn_off_water() { turnOff(SampleKind::Water); }
    void turn_off_fish() { turnOff(SampleKind::Fish); }
    void turn_off_invert() { turnOff(SampleKind::Invert); }
    void turn_off_veg() { turnOff(SampleKind::Veg); }
    void clear_draw_query_list();

    /// After a click on a box of `kind`: unticks every box of the other kinds, clears the
    /// list, and fills it from the ticked boxes of `kind`, recording the kind letter in
    /// `component` when any is ticked. Returns whether any box of `kind` is ticked.
    bool collectLayers(SampleKind kind);

    /// True when at least one draw/query list entry is non-empty.
    bool query_layer_selected() const;

    /// The non-empty entries of the draw/query list, in index order.
    QStringList selectionList() const;
    /// Layer codes of every ticked sample box: water quality, fish, macro-invertebrates,
    /// vegetation, each in index order.
    QStringList tickedLayerCodes() const;

    /// Entry i: period code of ticked box i of the active kind, else empty (38 entries).
    QStringList draw_query_list;
    /// Kind letter of the draw/query layers; empty until a sample box is first ticked.
    QString component;

private:
    void turnOff(SampleKind kind);

    QHash<SampleKind, QVector<QCheckBox*>> boxes_;
};

/// The order in which a click on a box of `kind` unticks the other kinds.
const QVector<SampleKind>& untickOrder(SampleKind kind);

} // namespace quillfen
