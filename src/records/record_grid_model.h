#pragma once

#include <QAbstractTableModel>
#include <QVariant>
#include <QVector>

namespace quillfen {

/// The cells of the records grid, with the grid operations the selection code and the export
/// use: sizes, a current cell to write, cell texts and column widths. Row 0 holds the headings
/// and column 0 the record numbers; they are ordinary cells that the selection code writes.
///
/// A cell keeps the value it was given (a text, a number, a date); its text form is made only
/// when a view or a reader asks for it. Each row is one vector, so a grid of 100k records
/// holds 100k small arrays rather than millions of objects, and growing it row by row costs
/// amortised constant time.
class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// The width of a column that was never given one: the view's default width.
    static constexpr int kDefaultColWidth = 0;
    /// A new grid has a heading row over one empty row, and a record-number column beside one
    /// field column.
    static constexpr int kInitialRows = 2;
    static constexpr int kInitialCols = 2;

    explicit RecordGridModel(QObject* parent = nullptr);

    /// The grid always keeps its heading row and record-number column: counts below 1 count as 1.
    /// Shrinking moves the current cell inside the grid and drops the cells cut off.
    int cols() const { return m_colCount; }
    void setCols(int count);
    int rows() const { return int(m_rows.size()); }
    void setRows(int count);

    /// The current cell, which text() and setText() address. Both stay inside the grid.
    int row() const { return m_row; }
    void setRow(int r);
    int col() const { return m_col; }
    void setCol(int c);

    QString text() const { return textMatrix(m_row, m_col); }
    /// Writes the text into the current cell as it is.
    void setText(const QString& text);
    /// Writes a field value into the current cell; its text form is that of valueText().
    void setValue(const QVariant& value);

    /// The text of cell (r, c); empty outside the grid.
    QString textMatrix(int r, int c) const;

    /// Column widths in twips; kDefaultColWidth for the view's default width.
    int colWidth(int c) const;
    void setColWidth(int c, int twips);

    /// Empties every cell; the size, the current cell and the widths stay.
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void colWidthChanged(int col);

private:
    using Row = QVector<QVariant>;
    const QVariant& cell(int r, int c) const;
    void store(QVariant value);

    QVector<Row> m_rows; ///< a row may be shorter than cols(): missing cells are empty
    QVector<int> m_colWidths;
    int m_colCount = 0;
    int m_row = 0;
    int m_col = 0;
};

} // namespace quillfen
