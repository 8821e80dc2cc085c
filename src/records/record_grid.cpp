#include "records/record_grid.h"

#include "records/record_grid_model.h"
#include "window_parts/design_font.h"
#include "window_parts/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>
#include <climits>

namespace quillfen {

/// The grid's cells as the view shows them: the cells of row 0 are also the column headings
/// and those of column 0 the row headings, so that the view's headers keep them in view.
class HeadingCellsModel : public QIdentityProxyModel {
public:
    explicit HeadingCellsModel(RecordGridModel* grid, QObject* parent) : QIdentityProxyModel(parent) {
        setSourceModel(grid);
        connect(grid, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    if (topLeft.row() == 0)
                        emit headerDataChanged(Qt::Horizontal, topLeft.column(), bottomRight.column());
                    if (topLeft.column() == 0)
                        emit headerDataChanged(Qt::Vertical, topLeft.row(), bottomRight.row());
                });
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return QIdentityProxyModel::headerData(section, orientation, role);
        const QModelIndex cell = orientation == Qt::Horizontal ? index(0, section) : index(section, 0);
        if (role == Qt::ToolTipRole && orientation == Qt::Vertical && isRecordWithoutShape(section))
            return RecordGrid::noShapeTip(cell.data(Qt::DisplayRole).toInt());
        return cell.data(Qt::DisplayRole);
    }

private:
    bool isRecordWithoutShape(int row) const {
        const RowSource source = static_cast<const RecordGridModel*>(sourceModel())->rowSource(row);
        return source.isRecord() && !source.hasShape() && index(row, 0).data().toInt() > 0;
    }
};

/// The heading row: each heading laid into its section with RecordGrid::kHeadingFlags, the
/// row as tall as the tallest heading needs at the widths its columns have.
class HeadingRow : public QHeaderView {
public:
    explicit HeadingRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setTextElideMode(Qt::ElideNone);
        setDefaultAlignment(Qt::Alignment(RecordGrid::kHeadingFlags));
    }

    QSize sizeHint() const override {
        QSize size = QHeaderView::sizeHint();
        size.setHeight(std::max(size.height(), tallestHeading()));
        return size;
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid())
            return;
        QStyleOptionHeaderV2 section;
        initStyleOption(&section);
        initStyleOptionForIndex(&section, logicalIndex);
        section.rect = rect;
        section.text.clear();
        const QString heading = model()->headerData(logicalIndex, Qt::Horizontal).toString();
        // The style leaves the painter clipped to nothing when it was not clipped before.
        painter->save();
        style()->drawControl(QStyle::CE_Header, &section, painter, this);
        painter->restore();
        painter->save();
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->setFont(font());
        painter->drawText(headingArea(rect), RecordGrid::kHeadingFlags, heading);
        painter->restore();
    }

private:
    QRect headingArea(const QRect& section) const {
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        return section.adjusted(margin, margin, -margin, -margin);
    }

    int tallestHeading() const {
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        int tallest = 0;
        for (int section = 0; section < count(); ++section) {
            if (isSectionHidden(section))
                continue;
            const QString heading = model()->headerData(section, Qt::Horizontal).toString();
            const QRect area = headingArea(QRect(0, 0, sectionSize(section), 1 << 16));
            tallest = std::max(tallest,
                               fontMetrics().boundingRect(area, RecordGrid::kHeadingFlags, heading).height());
        }
        return tallest + 2 * margin;
    }
};

RecordGrid::RecordGrid(RecordGridModel* model, QWidget* parent)
    : QTableView(parent), model_(model), shown_(new HeadingCellsModel(model, this)) {
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setAccessibleName(QStringLiteral("Selected records"));
    setHorizontalHeader(new HeadingRow(this));
    setModel(shown_);
    setFont(designFont());
    // Row 0 and column 0 are shown by the headers, not a second time as cells.
    hideHeadingCells();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(twips(kDefaultColWidthTwips));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);

    // The top-left corner button shows the heading of the record-number column.
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(this);

    connect(model, &RecordGridModel::colWidthChanged, this, &RecordGrid::applyColWidth);
    connect(shown_, &QAbstractItemModel::columnsInserted, this, &RecordGrid::applyAllColWidths);
    connect(shown_, &QAbstractItemModel::modelReset, this, [this] {
        hideHeadingCells();
        applyAllColWidths();
        // A reset drops the selection without a word.
        emit rowSelectionChanged();
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &RecordGrid::rowSelectionChanged);
    connect(this, &QAbstractItemView::activated, this,
            [this](const QModelIndex& cell) { emit rowActivated(cell.row()); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &RecordGrid::fitHeadingRow);
    connect(shown_, &QAbstractItemModel::layoutChanged, this, &RecordGrid::hideHeadingCells);
    connect(shown_, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation, int first, int last) {
                if (orientation == Qt::Vertical) {
                    if (first == 0 && corner_)
                        corner_->update();
                    return;
                }
                for (int col = first; col <= last; ++col) {
                    if (model_->colWidth(col) == RecordGridModel::kDefaultColWidth)
                        applyColWidth(col);
                }
                fitHeadingRow();
            });
    applyAllColWidths();
}

QString RecordGrid::noShapeTip(int record) {
    return QStringLiteral("Record %1 has no shape: it is not on the map").arg(record);
}

/// The heading row grows and shrinks with its tallest heading.
void RecordGrid::fitHeadingRow() {
    horizontalHeader()->updateGeometry();
    updateGeometries();
}

void RecordGrid::hideHeadingCells() {
    setRowHidden(0, true);
    setColumnHidden(0, true);
}

/// A column keeps the width it was given; one without a width is at least as wide as its
/// heading. The record-number column is the width of the row headings.
void RecordGrid::applyColWidth(int col) {
    if (col < 0 || col >= model_->cols())
        return;
    int width = twips(model_->colWidth(col));
    if (model_->colWidth(col) == RecordGridModel::kDefaultColWidth) {
        QStyleOptionHeader heading;
        heading.initFrom(horizontalHeader());
        heading.text = model_->textMatrix(0, col);
        const QSize fitting =
            style()->sizeFromContents(QStyle::CT_HeaderSection, &heading, QSize(), horizontalHeader());
        width = std::max(twips(kDefaultColWidthTwips), fitting.width());
    }
    if (col == 0)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col, width);
}

void RecordGrid::applyAllColWidths() {
    for (int col = 0; col < model_->cols(); ++col)
        applyColWidth(col);
    fitHeadingRow();
}

QVector<int> RecordGrid::selectedRows() const {
    // By ranges, not cells: a whole grid selected is one range.
    QVector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QString RecordGrid::selectedText() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return QString();
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QItemSelectionRange& range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        if (isRowHidden(row))
            continue;
        bool first = true;
        for (int col = left; col <= right; ++col) {
            if (isColumnHidden(col))
                continue;
            if (!first)
                text += QLatin1Char('\t');
            first = false;
            const QModelIndex cell = shown_->index(row, col);
            if (selection.contains(cell))
                text += cell.data().toString();
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(selectedText());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool RecordGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        paintCornerHeading();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void RecordGrid::paintCornerHeading() {
    QPainter painter(corner_);
    // In the headings' own font, which the corner button does not take from the grid.
    painter.setFont(horizontalHeader()->font());
    QStyleOptionHeader heading;
    heading.initFrom(corner_);
    heading.fontMetrics = horizontalHeader()->fontMetrics();
    heading.rect = corner_->rect();
    heading.position = QStyleOptionHeader::OnlyOneSection;
    heading.text = model_->textMatrix(0, 0);
    heading.textAlignment = Qt::AlignCenter;
    if (corner_->isDown())
        heading.state |= QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_Header, &heading, &painter, corner_);
}

} // namespace quillfen
