#pragma once

#include <QTableView>
#include <QVector>

class QAbstractButton;

namespace quillfen {

class RecordGridModel;
class HeadingCellsModel;

/// The records grid (MSFlexGrid1): a table view over a RecordGridModel whose heading row
/// (row 0) and record-number column (column 0) stay in view while the records scroll: they
/// are shown as the view's column and row headings, their heading in the top-left corner.
/// Column widths follow the model's widths in twips; a column without a width is at least as
/// wide as its heading. A heading wider than its column wraps at word boundaries, and the
/// heading row is as tall as the tallest heading. Every record row has the same fixed height,
/// so that filling the grid never measures row contents. Cells are selected as in any table;
/// Ctrl+C copies the selected cells as tab-separated lines. Tab and Shift+Tab move the focus
/// on to the window's other controls, not from cell to cell. The record number of a record
/// without a shape says so in its tooltip.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    /// How a heading is laid into its section, inside the style's header margin.
    static constexpr int kHeadingFlags = Qt::AlignCenter | Qt::TextWordWrap;
    /// The tooltip of the number of a record that has no shape on the map.
    static QString noShapeTip(int record);

    /// Width of a column the model gives no width, in twips.
    static constexpr int kDefaultColWidthTwips = 1200;

    /// Shows `model`, which the caller owns and keeps alive as long as the grid.
    explicit RecordGrid(RecordGridModel* model, QWidget* parent = nullptr);

    /// The selected cells, a line per row and a tab between cells, over the rows and columns
    /// that hold a selected cell; a cell inside that block that is not selected is empty.
    QString selectedText() const;
    /// The rows that hold a selected cell, in row order.
    QVector<int> selectedRows() const;

signals:
    /// The cells selected have changed, or the grid was emptied or filled anew.
    void rowSelectionChanged();
    /// Enter on the current cell, or a double-click on a cell, chose this row.
    void rowActivated(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyColWidth(int col);
    void applyAllColWidths();
    void hideHeadingCells();
    void paintCornerHeading();
    void fitHeadingRow();

    RecordGridModel* model_;
    HeadingCellsModel* shown_;
    QAbstractButton* corner_ = nullptr;
};

} // namespace quillfen
