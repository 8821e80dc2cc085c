#include "records/record_grid.h"

#include "app/design_font.h"
#include "app/twips.h"
#include "records/record_grid_model.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace quillfen {
namespace {

/// Paints row 0 and column 0 like heading cells: the button colour behind them. The headings
/// keep the grid's face, in which they fit their designed column widths.
class FixedCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() != 0 && index.column() != 0)
            return;
        option->backgroundBrush = option->palette.button();
        option->palette.setBrush(QPalette::Text, option->palette.buttonText());
    }
};

} // namespace

RecordGrid::RecordGrid(RecordGridModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setModel(model);
    setItemDelegate(new FixedCellDelegate(this));
    setFont(designFont());
    // The headings and record numbers are cells of the grid itself, so the view's own headers
    // stay hidden.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(twips(kDefaultColWidthTwips));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);

    connect(model, &RecordGridModel::colWidthChanged, this, &RecordGrid::applyColWidth);
    connect(model, &QAbstractItemModel::columnsInserted, this, &RecordGrid::applyAllColWidths);
    connect(model, &QAbstractItemModel::modelReset, this, &RecordGrid::applyAllColWidths);
    applyAllColWidths();
}

void RecordGrid::applyColWidth(int col) {
    const int width = m_model->colWidth(col);
    setColumnWidth(col, twips(width == RecordGridModel::kDefaultColWidth ? kDefaultColWidthTwips : width));
}

void RecordGrid::applyAllColWidths() {
    for (int col = 0; col < m_model->cols(); ++col)
        applyColWidth(col);
}

} // namespace quillfen
