#include "records/grid_cells.h"

#include "catalogue/value_text.h"

#include <QHashFunctions>

#include <cmath>
#include <cstring>

namespace quillfen {
namespace {

constexpr quint64 kQuietNaN = 0x7FF8000000000000ULL;
constexpr size_t kFirstSlotCount = 64;

size_t slotOf(QByteArrayView text, size_t slotCount) {
    return qHash(text, 0) & (slotCount - 1);
}

} // namespace

QString cellText(const GridValue& value) {
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

quint32 GridStringPool::intern(QByteArrayView text) {
    // The table is kept at most half full, so a free slot always ends a probe.
    if (2 * size_t(count() + 1) > slots_.size())
        grow();
    size_t slot = slotOf(text, slots_.size());
    while (slots_[slot] >= 0) {
        if (this->text(quint32(slots_[slot])) == text)
            return quint32(slots_[slot]);
        slot = (slot + 1) & (slots_.size() - 1);
    }
    const quint32 index = quint32(count());
    bytes_.append(text.data(), text.size());
    starts_.push_back(quint32(bytes_.size()));
    slots_[slot] = qint32(index);
    return index;
}

QByteArrayView GridStringPool::text(quint32 index) const {
    return QByteArrayView(bytes_.constData() + starts_[index], starts_[index + 1] - starts_[index]);
}

qint64 GridStringPool::storageBytes() const {
    return bytes_.capacity() + qint64(starts_.capacity() * sizeof(quint32)) +
           qint64(slots_.capacity() * sizeof(qint32));
}

void GridStringPool::clear() {
    bytes_.clear();
    starts_.assign(1, 0);
    slots_.clear();
}

void GridStringPool::grow() {
    std::vector<qint32> table(std::max(kFirstSlotCount, 2 * slots_.size()), -1);
    for (int index = 0; index < count(); ++index) {
        size_t slot = slotOf(text(quint32(index)), table.size());
        while (table[slot] >= 0)
            slot = (slot + 1) & (table.size() - 1);
        table[slot] = index;
    }
    slots_.swap(table);
}

quint64 GridCell::real(double value) {
    if (std::isnan(value))
        return kQuietNaN;
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

GridValue GridCell::value(quint64 bits, const GridStringPool& pool) {
    GridValue value;
    switch (bits & kTagMask) {
    case kEmpty:
        break;
    case kIntegerTag:
        value.kind = GridValue::Kind::Integer;
        // Shifting the 48 bits up and back spreads their sign over the tag.
        value.integer = qint64(bits << 16) >> 16;
        break;
    case kTextTag:
        value.kind = GridValue::Kind::Text;
        value.text = pool.text(quint32(bits));
        break;
    default:
        value.kind = GridValue::Kind::Real;
        std::memcpy(&value.real, &bits, sizeof bits);
        break;
    }
    return value;
}

} // namespace quillfen
