#include "records/record_grid_model.h"

#include "catalogue/value_text.h"

#include <algorithm>

namespace quillfen {
namespace {

/// Revisions are drawn from one counter so that two grids never show the same one.
quint64 nextRevision() {
    static quint64 counter = 0;
    return ++counter;
}

QByteArrayView withoutTrailingSpaces(QByteArrayView text) {
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    return text;
}

} // namespace

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent), m_revision(nextRevision()) {
    m_rowCount = kInitialRows;
    m_colCount = kInitialCols;
    m_cells.assign(size_t(kInitialRows * kInitialCols), GridCell::kEmpty);
    m_colWidths.resize(kInitialCols);
}

void RecordGridModel::touch() {
    m_revision = nextRevision();
}

void RecordGridModel::setCols(int count) {
    count = std::max(count, 1);
    if (count == m_colCount)
        return;
    touch();
    const bool growing = count > m_colCount;
    if (!m_filling) {
        if (growing)
            beginInsertColumns(QModelIndex(), m_colCount, count - 1);
        else
            beginRemoveColumns(QModelIndex(), count, m_colCount - 1);
    }
    std::vector<quint64> cells(size_t(m_rowCount) * size_t(count), GridCell::kEmpty);
    const int kept = std::min(count, m_colCount);
    for (int r = 0; r < m_rowCount; ++r) {
        const auto from = m_cells.begin() + ptrdiff_t(r) * m_colCount;
        std::copy(from, from + kept, cells.begin() + ptrdiff_t(r) * count);
    }
    m_cells.swap(cells);
    m_colCount = count;
    m_colWidths.resize(count);
    m_col = std::min(m_col, count - 1);
    if (!m_filling) {
        if (growing)
            endInsertColumns();
        else
            endRemoveColumns();
    }
}

void RecordGridModel::setRows(int count) {
    count = std::max(count, 1);
    const int current = m_rowCount;
    if (count == current)
        return;
    touch();
    const bool growing = count > current;
    if (!m_filling) {
        if (growing)
            beginInsertRows(QModelIndex(), current, count - 1);
        else
            beginRemoveRows(QModelIndex(), count, current - 1);
    }
    // The array grows geometrically, so adding one row at a time stays amortised constant.
    m_cells.resize(size_t(count) * size_t(m_colCount), GridCell::kEmpty);
    if (m_rowSources.size() > size_t(count))
        m_rowSources.resize(size_t(count));
    m_rowCount = count;
    m_row = std::min(m_row, count - 1);
    if (!m_filling) {
        if (growing)
            endInsertRows();
        else
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
    storeText(text.toUtf8());
}

void RecordGridModel::setValue(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        store(GridCell::kEmpty);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
        setInteger(value.toLongLong());
        return;
    case QMetaType::Double:
        setReal(value.toDouble());
        return;
    case QMetaType::QString:
        setFieldText(value.toString().toUtf8());
        return;
    default:
        // Other values (dates, single-precision numbers) keep their shown text.
        storeText(valueText(value).toUtf8());
        return;
    }
}

void RecordGridModel::setInteger(qint64 value) {
    if (GridCell::fitsInteger(value))
        store(GridCell::integer(value));
    else
        storeText(QByteArray::number(value));
}

void RecordGridModel::setReal(double value) {
    store(GridCell::real(value));
}

void RecordGridModel::setFieldText(QByteArrayView utf8) {
    storeText(withoutTrailingSpaces(utf8));
}

void RecordGridModel::storeText(QByteArrayView utf8) {
    store(utf8.isEmpty() ? GridCell::kEmpty : GridCell::text(m_texts.intern(utf8)));
}

void RecordGridModel::store(quint64 cell) {
    m_cells[size_t(m_row) * size_t(m_colCount) + size_t(m_col)] = cell;
    touch();
    if (m_filling)
        return;
    const QModelIndex changed = index(m_row, m_col);
    emit dataChanged(changed, changed);
}

GridValue RecordGridModel::cellValue(int r, int c) const {
    if (r < 0 || r >= m_rowCount || c < 0 || c >= m_colCount)
        return GridValue();
    return GridCell::value(m_cells[size_t(r) * size_t(m_colCount) + size_t(c)], m_texts);
}

QString RecordGridModel::textMatrix(int r, int c) const {
    const GridValue value = cellValue(r, c);
    switch (value.kind) {
    case GridValue::Kind::Empty:
        break;
    case GridValue::Kind::Integer:
        return QString::number(value.integer);
    case GridValue::Kind::Real:
        return valueText(value.real);
    case GridValue::Kind::Text:
        return QString::fromUtf8(value.text);
    }
    return QString();
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

qint32 RecordGridModel::sourceLayer(const QString& layerName) {
    const qsizetype known = m_sourceLayers.indexOf(layerName);
    if (known >= 0)
        return qint32(known);
    m_sourceLayers.append(layerName);
    return qint32(m_sourceLayers.size() - 1);
}

RowSource RecordGridModel::rowSource(int r) const {
    return r >= 0 && size_t(r) < m_rowSources.size() ? m_rowSources[size_t(r)] : RowSource();
}

void RecordGridModel::setRowSource(int r, RowSource source) {
    if (r < 0 || r >= m_rowCount)
        return;
    if (m_rowSources.size() <= size_t(r))
        m_rowSources.resize(size_t(r) + 1);
    m_rowSources[size_t(r)] = source;
    touch();
}

void RecordGridModel::clear() {
    if (!m_filling)
        beginResetModel();
    std::fill(m_cells.begin(), m_cells.end(), GridCell::kEmpty);
    m_texts.clear();
    m_rowSources.clear();
    m_sourceLayers.clear();
    touch();
    if (!m_filling)
        endResetModel();
}

void RecordGridModel::beginFill() {
    beginResetModel();
    m_filling = true;
}

void RecordGridModel::endFill() {
    m_filling = false;
    endResetModel();
}

qint64 RecordGridModel::storageBytes() const {
    return qint64(m_cells.capacity() * sizeof(quint64)) + m_texts.storageBytes() +
           qint64(m_rowSources.capacity() * sizeof(RowSource));
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
