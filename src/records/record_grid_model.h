#pragma once

// Records (folder records): the records grid, its window and the text export. Uses tabledb,
// the catalogue, the window parts and the programme description of info_windows.

#include "records/grid_cells.h"
#include "tabledb/table_database.h"

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

/// A table whose records rows of the grid show (RecordGridModel::setRecordRow): the table's
/// field behind each grid column from column 1 on (-1: none, read as NULL), and what a NULL
/// field does: leave the cell's earlier text, as a companion-table row does, or empty it.
struct RecordSource {
    tabledb::HeldTablePtr table;
    QVector<int> columns;
    bool nullKeepsCell = false;
};

/// The cells of the records grid, with the grid operations the selection code and the export
/// use: sizes, a current cell to write, cell texts and column widths. Row 0 holds the headings
/// and column 0 the record numbers; they are ordinary cells that the selection code writes.
///
/// A record row written by setRecordRow() holds only which record of which table it shows
/// (8 bytes): its cells are read from the table when a view or a reader asks for them, the
/// last row read kept at hand. A cell written otherwise keeps the value it was given in 8
/// bytes (see GridCell): a whole or real number, or the index of its text in the grid's own
/// pool, where each text is kept once; a record row that is written over cell by cell is
/// first read into such cells. The record numbers of column 0 are one array; the other written
/// cells are blocks of a row, made for the rows that need them. So a grid of 100k records
/// holds no per-row objects, and growing it row by row costs amortised constant time.
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
    int cols() const { return colCount_; }
    void setCols(int count);
    int rows() const { return rowCount_; }
    void setRows(int count);

    /// The current cell, which text() and setText() address. Both stay inside the grid.
    int row() const { return row_; }
    void setRow(int r);
    int col() const { return col_; }
    void setCol(int c);

    QString text() const { return textMatrix(row_, col_); }
    /// Writes the text into the current cell as it is.
    void setText(const QString& text);
    /// Writes a field value into the current cell; its text form is that of valueText().
    void setValue(const QVariant& value);
    /// Typed writes of a field value into the current cell, as setValue() writes it: a whole
    /// number, a real number, a text in UTF-8 (trailing spaces dropped).
    void setInteger(qint64 value);
    void setReal(double value);
    void setFieldText(QByteArrayView utf8);

    /// Makes the current row's cells from column 1 on show record `rowNumber` of source
    /// `source` (addRecordSource), as if its fields had been written there one by one with
    /// setValue() (a NULL field as the source says). Column 0 is left as it is.
    void setRecordRow(int source, int rowNumber);
    /// The index of a new source of record rows, which the grid keeps while rows show it.
    int addRecordSource(RecordSource source);

    /// The value of cell (r, c); empty outside the grid. Its text is valid until the grid is
    /// next written or a cell of another row is asked for.
    GridValue cellValue(int r, int c) const;

    /// The text of cell (r, c); empty outside the grid.
    QString textMatrix(int r, int c) const;

    /// Column widths in twips; kDefaultColWidth for the view's default width.
    int colWidth(int c) const;
    void setColWidth(int c, int twips);

    /// The index of a layer among sourceLayers(), added when it is new.
    qint32 sourceLayer(const QString& layerName);
    /// The names of the layers the rows' records came from, as the map names them.
    const QStringList& sourceLayers() const { return sourceLayers_; }
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
    quint64 revision() const { return revision_; }
    /// Bytes held for the cells and their texts.
    qint64 storageBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void colWidthChanged(int col);

private:
    /// A row's record of a source; `source` -1 for none.
    struct RecordRow {
        qint32 source = -1;
        qint32 rowNumber = 0;
    };
    struct SourceEntry {
        RecordSource source;
        int coveredCols = 0; ///< the grid columns from 1 on that its rows show
    };

    void store(quint64 cell);
    void storeText(QByteArrayView utf8);
    void touch();
    /// The source entry behind cell (r, c) of a record row; null when the cell is a written one.
    const SourceEntry* sourceOfCell(int r, int c) const;
    /// The value that record row r shows in column c; null when a NULL field leaves the cell below.
    const GridValue* recordValue(int r, int c) const;
    /// Makes record row r written cells, showing what they showed.
    void writeOutRecordRow(int r);
    quint64 writtenCell(int r, int c) const;
    quint64& writtenSlot(int r, int c);
    quint64 storedBits(const GridValue& value);
    int blockWidth() const { return colCount_ - 1; }

    std::vector<quint64> firstCol_;     ///< column 0 by row
    std::vector<qint32> rowBlocks_;     ///< by row: start of its block in cells_, or -1
    std::vector<quint64> cells_;        ///< blocks of blockWidth() cells, columns 1 onward
    std::vector<RecordRow> recordRows_; ///< by row; rows past its end show no record
    std::vector<SourceEntry> sources_;
    /// The cells of the last record row read, texts in readTexts_; NULL fields flagged.
    mutable int readRow_ = -1;
    mutable quint64 readRevision_ = 0;
    mutable std::vector<GridValue> readValues_;
    mutable std::vector<bool> readNull_;
    mutable QByteArray readTexts_;
    std::vector<RowSource> rowSources_; ///< by row; rows past its end have no source
    QStringList sourceLayers_;
    GridStringPool texts_;
    QVector<int> colWidths_;
    int rowCount_ = 0;
    int colCount_ = 0;
    quint64 revision_ = 0;
    bool filling_ = false;
    int row_ = 0;
    int col_ = 0;
};

} // namespace quillfen
