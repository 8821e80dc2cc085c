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
    m_firstCol.assign(size_t(kInitialRows), GridCell::kEmpty);
    m_rowBlocks.assign(size_t(kInitialRows), -1);
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
    const int oldWidth = blockWidth();
    const int newWidth = count - 1;
    const int kept = std::min(oldWidth, newWidth);
    std::vector<quint64> cells;
    for (qint32& block : m_rowBlocks) {
        if (block < 0)
            continue;
        const qint32 moved = qint32(cells.size());
        cells.resize(cells.size() + size_t(newWidth), GridCell::kEmpty);
        std::copy(m_cells.begin() + block, m_cells.begin() + block + kept, cells.begin() + moved);
        block = moved;
    }
    m_cells.swap(cells);
    // Record rows show no columns that were cut off, also when the grid grows again.
    for (SourceEntry& entry : m_sources)
        entry.coveredCols = std::min(entry.coveredCols, newWidth);
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
    // The arrays grow geometrically, so adding one row at a time stays amortised constant.
    m_firstCol.resize(size_t(count), GridCell::kEmpty);
    m_rowBlocks.resize(size_t(count), -1);
    if (m_recordRows.size() > size_t(count))
        m_recordRows.resize(size_t(count));
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
    if (m_col == 0) {
        m_firstCol[size_t(m_row)] = cell;
    } else {
        if (sourceOfCell(m_row, m_col))
            writeOutRecordRow(m_row);
        writtenSlot(m_row, m_col) = cell;
    }
    touch();
    if (m_filling)
        return;
    const QModelIndex changed = index(m_row, m_col);
    emit dataChanged(changed, changed);
}

int RecordGridModel::addRecordSource(RecordSource source) {
    const int covered = std::min(int(source.columns.size()), blockWidth());
    m_sources.push_back({std::move(source), covered});
    return int(m_sources.size()) - 1;
}

void RecordGridModel::setRecordRow(int source, int rowNumber) {
    if (source < 0 || size_t(source) >= m_sources.size())
        return;
    // What the row showed stays below the new record, for its NULL fields.
    if (size_t(m_row) < m_recordRows.size() && m_recordRows[size_t(m_row)].source >= 0)
        writeOutRecordRow(m_row);
    if (m_recordRows.size() <= size_t(m_row))
        m_recordRows.resize(size_t(m_row) + 1);
    m_recordRows[size_t(m_row)] = {qint32(source), qint32(rowNumber)};
    touch();
    if (!m_filling)
        emit dataChanged(index(m_row, 1), index(m_row, m_colCount - 1));
}

const RecordGridModel::SourceEntry* RecordGridModel::sourceOfCell(int r, int c) const {
    if (size_t(r) >= m_recordRows.size() || m_recordRows[size_t(r)].source < 0)
        return nullptr;
    const SourceEntry& entry = m_sources[size_t(m_recordRows[size_t(r)].source)];
    return c >= 1 && c <= entry.coveredCols ? &entry : nullptr;
}

namespace {

/// The value of a field of a record as writing it with setValue() would store it.
GridValue fieldValue(const tabledb::RowReader& row, int column, QByteArray& texts,
                     std::vector<qsizetype>& textEnds, bool* isNull) {
    using Type = tabledb::RowReader::Type;
    const Type type = column < 0 ? Type::Null : row.type(column);
    *isNull = type == Type::Null;
    GridValue value;
    switch (type) {
    case Type::Null:
        break;
    case Type::Integer: {
        const qint64 integer = row.integer(column);
        if (GridCell::fitsInteger(integer)) {
            value.kind = GridValue::Kind::Integer;
            value.integer = integer;
        } else {
            value.kind = GridValue::Kind::Text;
            texts += QByteArray::number(integer);
        }
        break;
    }
    case Type::Real: {
        // Through the stored form, as a written cell: a NaN becomes the one NaN a cell keeps.
        static const GridStringPool noTexts;
        value = GridCell::value(GridCell::real(row.real(column)), noTexts);
        break;
    }
    case Type::Text: {
        const QByteArrayView text = withoutTrailingSpaces(row.text(column));
        if (!text.isEmpty()) {
            value.kind = GridValue::Kind::Text;
            texts += text;
        }
        break;
    }
    }
    textEnds.push_back(texts.size());
    return value;
}

} // namespace

const GridValue* RecordGridModel::recordValue(int r, int c) const {
    const SourceEntry* entry = sourceOfCell(r, c);
    if (!entry)
        return nullptr;
    if (m_readRow != r || m_readRevision != m_revision) {
        const RecordRow record = m_recordRows[size_t(r)];
        const int covered = entry->coveredCols;
        m_readValues.assign(size_t(covered), GridValue());
        m_readNull.assign(size_t(covered), true);
        m_readTexts.clear();
        std::vector<qsizetype> textEnds;
        if (entry->source.table) {
            entry->source.table->readRecord(record.rowNumber, [&](const tabledb::RowReader& row) {
                for (int i = 0; i < covered; ++i) {
                    bool isNull = false;
                    m_readValues[size_t(i)] =
                        fieldValue(row, entry->source.columns[i], m_readTexts, textEnds, &isNull);
                    m_readNull[size_t(i)] = isNull;
                }
            });
        }
        // The texts are pointed at once all are in place.
        qsizetype begin = 0;
        for (size_t i = 0; i < textEnds.size(); ++i) {
            if (m_readValues[i].kind == GridValue::Kind::Text)
                m_readValues[i].text = QByteArrayView(m_readTexts.constData() + begin, textEnds[i] - begin);
            begin = textEnds[i];
        }
        m_readRow = r;
        m_readRevision = m_revision;
    }
    const size_t i = size_t(c - 1);
    if (m_readNull[i] && entry->source.nullKeepsCell)
        return nullptr;
    return &m_readValues[i];
}

quint64 RecordGridModel::storedBits(const GridValue& value) {
    switch (value.kind) {
    case GridValue::Kind::Empty:
        break;
    case GridValue::Kind::Integer:
        return GridCell::integer(value.integer);
    case GridValue::Kind::Real:
        return GridCell::real(value.real);
    case GridValue::Kind::Text:
        return value.text.isEmpty() ? GridCell::kEmpty : GridCell::text(m_texts.intern(value.text));
    }
    return GridCell::kEmpty;
}

void RecordGridModel::writeOutRecordRow(int r) {
    const SourceEntry* entry = sourceOfCell(r, 1);
    const int covered = entry ? entry->coveredCols : 0;
    for (int c = 1; c <= covered; ++c) {
        if (const GridValue* value = recordValue(r, c)) {
            // Interning may move the pool, never the texts read.
            const GridValue shown = *value;
            writtenSlot(r, c) = storedBits(shown);
        }
    }
    m_recordRows[size_t(r)].source = -1;
    m_readRow = -1;
}

quint64 RecordGridModel::writtenCell(int r, int c) const {
    const qint32 block = m_rowBlocks[size_t(r)];
    return block < 0 ? GridCell::kEmpty : m_cells[size_t(block) + size_t(c - 1)];
}

quint64& RecordGridModel::writtenSlot(int r, int c) {
    qint32& block = m_rowBlocks[size_t(r)];
    if (block < 0) {
        block = qint32(m_cells.size());
        m_cells.resize(m_cells.size() + size_t(blockWidth()), GridCell::kEmpty);
    }
    return m_cells[size_t(block) + size_t(c - 1)];
}

GridValue RecordGridModel::cellValue(int r, int c) const {
    if (r < 0 || r >= m_rowCount || c < 0 || c >= m_colCount)
        return GridValue();
    if (c == 0)
        return GridCell::value(m_firstCol[size_t(r)], m_texts);
    if (const GridValue* value = recordValue(r, c))
        return *value;
    return GridCell::value(writtenCell(r, c), m_texts);
}

QString RecordGridModel::textMatrix(int r, int c) const {
    return cellText(cellValue(r, c));
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
    std::fill(m_firstCol.begin(), m_firstCol.end(), GridCell::kEmpty);
    std::fill(m_rowBlocks.begin(), m_rowBlocks.end(), -1);
    m_cells.clear();
    m_recordRows.clear();
    m_sources.clear();
    m_readRow = -1;
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
    // The tables that no row shows any more are let go.
    std::vector<bool> shown(m_sources.size(), false);
    for (const RecordRow& record : m_recordRows) {
        if (record.source >= 0)
            shown[size_t(record.source)] = true;
    }
    for (size_t i = 0; i < m_sources.size(); ++i) {
        if (!shown[i])
            m_sources[i].source.table.reset();
    }
    m_filling = false;
    endResetModel();
}

qint64 RecordGridModel::storageBytes() const {
    return qint64((m_cells.capacity() + m_firstCol.capacity()) * sizeof(quint64)) +
           qint64(m_rowBlocks.capacity() * sizeof(qint32)) +
           qint64(m_recordRows.capacity() * sizeof(RecordRow)) + m_texts.storageBytes() +
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
