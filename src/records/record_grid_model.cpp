#include "records/record_grid_model.h"

#include "records/value_text.h"

#include <algorithm>

namespace quillfen {
namespace {

/// Grows `vector` to `size` elements, reserving geometrically so that growing one element at
/// a time stays amortised constant.
template <typename T> void growTo(QVector<T>& vector, int size) {
    if (size > vector.capacity())
        vector.reserve(std::max<qsizetype>(size, 2 * vector.capacity()));
    vector.resize(size);
}

const QVariant kEmptyCell;

} // namespace

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent) {
    m_rows.resize(kInitialRows);
    m_colWidths.resize(kInitialCols);
    m_colCount = kInitialCols;
}

void RecordGridModel::setCols(int count) {
    count = std::max(count, 1);
    if (count > m_colCount) {
        beginInsertColumns(QModelIndex(), m_colCount, count - 1);
        m_colCount = count;
        m_colWidths.resize(count);
        endInsertColumns();
    } else if (count < m_colCount) {
        beginRemoveColumns(QModelIndex(), count, m_colCount - 1);
        m_colCount = count;
        m_colWidths.resize(count);
        for (Row& cells : m_rows) {
            if (cells.size() > count)
                cells.resize(count);
        }
        m_col = std::min(m_col, count - 1);
        endRemoveColumns();
    }
}

void RecordGridModel::setRows(int count) {
    count = std::max(count, 1);
    const int current = rows();
    if (count > current) {
        beginInsertRows(QModelIndex(), current, count - 1);
        growTo(m_rows, count);
        endInsertRows();
    } else if (count < current) {
        beginRemoveRows(QModelIndex(), count, current - 1);
        m_rows.resize(count);
        m_row = std::min(m_row, count - 1);
        endRemoveRows();
    }
}

void RecordGridModel::setRow(int r) {
    m_row = std::clamp(r, 0, rows() - 1);
}

void RecordGridModel::setCol(int c) {
    m_col = std::clamp(c, 0, m_colCount - 1);
}

void RecordGridModel::setText(const QString& text) {
    store(text);
}

void RecordGridModel::setValue(const QVariant& value) {
    // Texts are stored in their shown form (without padding) so that reading them costs nothing.
    store(value.typeId() == QMetaType::QString ? QVariant(valueText(value)) : value);
}

void RecordGridModel::store(QVariant value) {
    Row& cells = m_rows[m_row];
    if (cells.size() <= m_col)
        cells.resize(m_colCount); // at the row's first write, so the row is allocated once
    cells[m_col] = std::move(value);
    const QModelIndex changed = index(m_row, m_col);
    emit dataChanged(changed, changed);
}

const QVariant& RecordGridModel::cell(int r, int c) const {
    if (r < 0 || r >= rows() || c < 0 || c >= m_rows[r].size())
        return kEmptyCell;
    return m_rows[r][c];
}

QString RecordGridModel::textMatrix(int r, int c) const {
    const QVariant& value = cell(r, c);
    return value.typeId() == QMetaType::QString ? value.toString() : valueText(value);
}

int RecordGridModel::colWidth(int c) const {
    return c >= 0 && c < m_colCount ? m_colWidths[c] : kDefaultColWidth;
}

void RecordGridModel::setColWidth(int c, int twips) {
    if (c < 0 || c >= m_colCount || m_colWidths[c] == twips)
        return;
    m_colWidths[c] = twips;
    emit colWidthChanged(c);
}

void RecordGridModel::clear() {
    for (Row& cells : m_rows)
        cells = Row();
    emit dataChanged(index(0, 0), index(rows() - 1, m_colCount - 1));
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows();
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_colCount;
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    return textMatrix(index.row(), index.column());
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The heading row and the record-number column are fixed cells: shown, never selected.
    if (index.row() == 0 || index.column() == 0)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace quillfen
