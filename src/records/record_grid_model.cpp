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

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent), revision_(nextRevision()) {
    rowCount_ = kInitialRows;
    colCount_ = kInitialCols;
    firstCol_.assign(size_t(kInitialRows), GridCell::kEmpty);
    rowBlocks_.assign(size_t(kInitialRows), -1);
    colWidths_.resize(kInitialCols);
}

void RecordGridModel::touch() {
    revision_ = nextRevision();
}

void RecordGridModel::setCols(int count) {
    count = std::max(count, 1);
    if (count == colCount_)
        return;
    touch();
    const bool growing = count > colCount_;
    if (!filling_) {
        if (growing)
            beginInsertColumns(QModelIndex(), colCount_, count - 1);
        else
            beginRemoveColumns(QModelIndex(), count, colCount_ - 1);
    }
    const int oldWidth = blockWidth();
    const int newWidth = count - 1;
    const int kept = std::min(oldWidth, newWidth);
    std::vector<quint64> cells;
    for (qint32& block : rowBlocks_) {
        if (block < 0)
            continue;
        const qint32 moved = qint32(cells.size());
        cells.resize(cells.size() + size_t(newWidth), GridCell::kEmpty);
        std::copy(cells_.begin() + block, cells_.begin() + block + kept, cells.begin() + moved);
        block = moved;
    }
    cells_.swap(cells);
    // Record rows show no columns that were cut off, also when the grid grows again.
    for (SourceEntry& entry : sources_)
        entry.coveredCols = std::min(entry.coveredCols, newWidth);
    colCount_ = count;
    colWidths_.resize(count);
    col_ = std::min(col_, count - 1);
    if (!filling_) {
        if (growing)
            endInsertColumns();
        else
            endRemoveColumns();
    }
}

void RecordGridModel::setRows(int count) {
    count = std::max(count, 1);
    const int current = rowCount_;
    if (count == current)
        return;
    touch();
    const bool growing = count > current;
    if (!filling_) {
        if (growing)
            beginInsertRows(QModelIndex(), current, count - 1);
        else
            beginRemoveRows(QModelIndex(), count, current - 1);
    }
    // The arrays grow geometrically, so adding one row at a time stays amortised constant.
    firstCol_.resize(size_t(count), GridCell::kEmpty);
    rowBlocks_.resize(size_t(count), -1);
    if (recordRows_.size() > size_t(count))
        recordRows_.resize(size_t(count));
    if (rowSources_.size() > size_t(count))
        rowSources_.resize(size_t(count));
    rowCount_ = count;
    row_ = std::min(row_, count - 1);
    if (!filling_) {
        if (growing)
            endInsertRows();
        else
            endRemoveRows();
    }
}

void RecordGridModel::setRow(int r) {
    row_ = std::clamp(r, 0, rows() - 1);
}

void RecordGridModel::setCol(int c) {
    col_ = std::clamp(c, 0, colCount_ - 1);
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
    store(utf8.isEmpty() ? GridCell::kEmpty : GridCell::text(texts_.intern(utf8)));
}

void RecordGridModel::store(quint64 cell) {
    if (col_ == 0) {
        firstCol_[size_t(row_)] = cell;
    } else {
        if (sourceOfCell(row_, col_))
            writeOutRecordRow(row_);
        writtenSlot(row_, col_) = cell;
    }
    touch();
    if (filling_)
        return;
    const QModelIndex changed = index(row_, col_);
    emit dataChanged(changed, changed);
}

int RecordGridModel::addRecordSource(RecordSource source) {
    const int covered = std::min(int(source.columns.size()), blockWidth());
    sources_.push_back({std::move(source), covered});
    return int(sources_.size()) - 1;
}

void RecordGridModel::setRecordRow(int source, int rowNumber) {
    if (source < 0 || size_t(source) >= sources_.size())
        return;
    // What the row showed stays below the new record, for its NULL fields.
    if (size_t(row_) < recordRows_.size() && recordRows_[size_t(row_)].source >= 0)
        writeOutRecordRow(row_);
    if (recordRows_.size() <= size_t(row_))
        recordRows_.resize(size_t(row_) + 1);
    recordRows_[size_t(row_)] = {qint32(source), qint32(rowNumber)};
    touch();
    if (!filling_)
        emit dataChanged(index(row_, 1), index(row_, colCount_ - 1));
}

const RecordGridModel::SourceEntry* RecordGridModel::sourceOfCell(int r, int c) const {
    if (size_t(r) >= recordRows_.size() || recordRows_[size_t(r)].source < 0)
        return nullptr;
    const SourceEntry& entry = sources_[size_t(recordRows_[size_t(r)].source)];
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
    if (readRow_ != r || readRevision_ != revision_) {
        const RecordRow record = recordRows_[size_t(r)];
        const int covered = entry->coveredCols;
        readValues_.assign(size_t(covered), GridValue());
        readNull_.assign(size_t(covered), true);
        readTexts_.clear();
        std::vector<qsizetype> textEnds;
        if (entry->source.table) {
            entry->source.table->readRecord(record.rowNumber, [&](const tabledb::RowReader& row) {
                for (int i = 0; i < covered; ++i) {
                    bool isNull = false;
                    readValues_[size_t(i)] =
                        fieldValue(row, entry->source.columns[i], readTexts_, textEnds, &isNull);
                    readNull_[size_t(i)] = isNull;
                }
            });
        }
        // The texts are pointed at once all are in place.
        qsizetype begin = 0;
        for (size_t i = 0; i < textEnds.size(); ++i) {
            if (readValues_[i].kind == GridValue::Kind::Text)
                readValues_[i].text = QByteArrayView(readTexts_.constData() + begin, textEnds[i] - begin);
            begin = textEnds[i];
        }
        readRow_ = r;
        readRevision_ = revision_;
    }
    const size_t i = size_t(c - 1);
    if (readNull_[i] && entry->source.nullKeepsCell)
        return nullptr;
    return &readValues_[i];
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
        return value.text.isEmpty() ? GridCell::kEmpty : GridCell::text(texts_.intern(value.text));
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
    recordRows_[size_t(r)].source = -1;
    readRow_ = -1;
}

quint64 RecordGridModel::writtenCell(int r, int c) const {
    const qint32 block = rowBlocks_[size_t(r)];
    return block < 0 ? GridCell::kEmpty : cells_[size_t(block) + size_t(c - 1)];
}

quint64& RecordGridModel::writtenSlot(int r, int c) {
    qint32& block = rowBlocks_[size_t(r)];
    if (block < 0) {
        block = qint32(cells_.size());
        cells_.resize(cells_.size() + size_t(blockWidth()), GridCell::kEmpty);
    }
    return cells_[size_t(block) + size_t(c - 1)];
}

GridValue RecordGridModel::cellValue(int r, int c) const {
    if (r < 0 || r >= rowCount_ || c < 0 || c >= colCount_)
        return GridValue();
    if (c == 0)
        return GridCell::value(firstCol_[size_t(r)], texts_);
    if (const GridValue* value = recordValue(r, c))
        return *value;
    return GridCell::value(writtenCell(r, c), texts_);
}

QString RecordGridModel::textMatrix(int r, int c) const {
    return cellText(cellValue(r, c));
}

int RecordGridModel::colWidth(int c) const {
    return c >= 0 && c < colCount_ ? colWidths_[c] : kDefaultColWidth;
}

void RecordGridModel::setColWidth(int c, int twips) {
    if (c < 0 || c >= colCount_ || colWidths_[c] == twips)
        return;
    colWidths_[c] = twips;
    emit colWidthChanged(c);
}

qint32 RecordGridModel::sourceLayer(const QString& layerName) {
    const qsizetype known = sourceLayers_.indexOf(layerName);
    if (known >= 0)
        return qint32(known);
    sourceLayers_.append(layerName);
    return qint32(sourceLayers_.size() - 1);
}

RowSource RecordGridModel::rowSource(int r) const {
    return r >= 0 && size_t(r) < rowSources_.size() ? rowSources_[size_t(r)] : RowSource();
}

void RecordGridModel::setRowSource(int r, RowSource source) {
    if (r < 0 || r >= rowCount_)
        return;
    if (rowSources_.size() <= size_t(r))
        rowSources_.resize(size_t(r) + 1);
    rowSources_[size_t(r)] = source;
    touch();
}

void RecordGridModel::clear() {
    if (!filling_)
        beginResetModel();
    std::fill(firstCol_.begin(), firstCol_.end(), GridCell::kEmpty);
    std::fill(rowBlocks_.begin(), rowBlocks_.end(), -1);
    cells_.clear();
    recordRows_.clear();
    sources_.clear();
    readRow_ = -1;
    texts_.clear();
    rowSources_.clear();
    sourceLayers_.clear();
    touch();
    if (!filling_)
        endResetModel();
}

void RecordGridModel::beginFill() {
    beginResetModel();
    filling_ = true;
}

void RecordGridModel::endFill() {
    // The tables that no row shows any more are let go.
    std::vector<bool> shown(sources_.size(), false);
    for (const RecordRow& record : recordRows_) {
        if (record.source >= 0)
            shown[size_t(record.source)] = true;
    }
    for (size_t i = 0; i < sources_.size(); ++i) {
        if (!shown[i])
            sources_[i].source.table.reset();
    }
    filling_ = false;
    endResetModel();
}

qint64 RecordGridModel::storageBytes() const {
    return qint64((cells_.capacity() + firstCol_.capacity()) * sizeof(quint64)) +
           qint64(rowBlocks_.capacity() * sizeof(qint32)) +
           qint64(recordRows_.capacity() * sizeof(RecordRow)) + texts_.storageBytes() +
           qint64(rowSources_.capacity() * sizeof(RowSource));
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows();
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount_;
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
