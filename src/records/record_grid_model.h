#pragma once

// Records (folder records): the records grid, its window and the text export. Uses tabledb,
// the catalogue, the window parts and the programme description of info_windows.

#include "records/grid_cells.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

namespace quillfen {

/// Where the record of a grid row came from: a layer, by its index among the grid's
/// sourceLayers(), and the feature of that layer whose point the record describes. A record
/// without a shape on the map has a layer but no feature; a row that holds no record has
/// neither.
struct RowSource {
    static constexpr qint32 kNone = -1;
    qint32 layer = kNone;
    qint32 feature = kNone;

    bool isRecord() const { return layer != kNone; }
    bool hasShape() const { return isRecord() && feature != kNone; }
    bool operator==(const RowSource& o) const { return layer == o.layer && feature == o.feature; }
};

/// The cells of the records grid, with the grid operations the selection code and the export
/// use: sizes, a current cell to write, cell texts and column widths. Row 0 holds the headings
/// and column 0 the record numbers; they are ordinary cells that the selection code writes.
///
/// A cell keeps the value it was given in 8 bytes (see GridCell): a whole or real number, or
/// the index of its text in the grid's own pool, where each text is kept once. The text form
/// of a number is made only when a view or a reader asks for it. The cells are one array, so
/// a grid of 100k records holds no per-row or per-cell objects, and growing it row by row costs
/// amortised constant time.
///
/// Each record row also knows where its record came from (see RowSource): 8 bytes a row in
/// one array beside the cells.
///
/// Between beginFill() and endFill() the grid is written without any notification: a view
/// sees one model reset when the fill ends.
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
    int rows() const { return m_rowCount; }
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
    /// Typed writes of a field value into the current cell, as setValue() writes it: a whole
    /// number, a real number, a text in UTF-8 (trailing spaces dropped).
    void setInteger(qint64 value);
    void setReal(double value);
    void setFieldText(QByteArrayView utf8);

    /// The stored value of cell (r, c); empty outside the grid. Its text is valid until the
    /// grid is next written.
    GridValue cellValue(int r, int c) const;

    /// The text of cell (r, c); empty outside the grid.
    QString textMatrix(int r, int c) const;

    /// Column widths in twips; kDefaultColWidth for the view's default width.
    int colWidth(int c) const;
    void setColWidth(int c, int twips);

    /// The index of a layer among sourceLayers(), added when it is new.
    qint32 sourceLayer(const QString& layerName);
    /// The names of the layers the rows' records came from, as the map names them.
    const QStringList& sourceLayers() const { return m_sourceLayers; }
    /// Where the record of row `r` came from; no layer for a row that was never given one.
    RowSource rowSource(int r) const;
    void setRowSource(int r, RowSource source);

    /// Empties every cell and forgets where rows came from; the size, the current cell and
    /// the widths stay. Views see a model reset.
    void clear();

    /// Starts writing many cells at once: views are told nothing until endFill(), which
    /// resets the model once.
    void beginFill();
    void endFill();

    /// A number that changes whenever the grid is written, and that no other grid shares.
    quint64 revision() const { return m_revision; }
    /// Bytes held for the cells and their texts.
    qint64 storageBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void colWidthChanged(int col);

private:
    void store(quint64 cell);
    void storeText(QByteArrayView utf8);
    void touch();

    std::vector<quint64> m_cells; ///< row by row, cols() cells each
    std::vector<RowSource> m_rowSources; ///< by row; rows past its end have no source
    QStringList m_sourceLayers;
    GridStringPool m_texts;
    QVector<int> m_colWidths;
    int m_rowCount = 0;
    int m_colCount = 0;
    quint64 m_revision = 0;
    bool m_filling = false;
    int m_row = 0;
    int m_col = 0;
};

} // namespace quillfen
