#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace quillfen {

/// The value of one grid cell as it is stored: nothing, a whole number, a real number or a
/// text (UTF-8, as shown).
struct GridValue {
    enum class Kind { Empty, Integer, Real, Text };
    Kind kind = Kind::Empty;
    qint64 integer = 0;
    double real = 0;
    QByteArrayView text;
};

/// The text a cell shows, for the grid's view, its readers and the text export alike: a
/// whole number in decimals, a real number in the program's shortest form, a text as it is.
QString cellText(const GridValue& value);

/// The texts of a grid, each kept once: cells hold the index of their text. Texts repeat a
/// great deal in sample records (dates, strata, species), so the pool stays small beside the
/// cells.
class GridStringPool {
public:
    /// The index of `text`, added when it is new.
    quint32 intern(QByteArrayView text);
    QByteArrayView text(quint32 index) const;
    int count() const { return int(starts_.size()) - 1; }
    /// Bytes held by the texts and their index.
    qint64 storageBytes() const;
    void clear();

private:
    void grow();

    QByteArray bytes_;
    std::vector<quint32> starts_{0}; ///< text i is bytes_[starts_[i], starts_[i + 1])
    std::vector<qint32> slots_;      ///< open-addressing hash of text indexes; -1 when free
};

/// One cell in 8 bytes. A real number is stored as its own bits; the other kinds live in bit
/// patterns that no stored real takes (negative quiet NaNs with a tag; a NaN value is stored as
/// the positive quiet NaN): whole numbers of up to 48 bits and text indexes.
class GridCell {
public:
    static constexpr quint64 kTagMask = 0xFFFF000000000000ULL;
    static constexpr quint64 kEmpty = 0xFFF9000000000000ULL;
    static constexpr quint64 kIntegerTag = 0xFFFA000000000000ULL;
    static constexpr quint64 kTextTag = 0xFFFB000000000000ULL;
    static constexpr qint64 kLargestInteger = (qint64(1) << 47) - 1;

    static bool fitsInteger(qint64 value) {
        return value >= -kLargestInteger - 1 && value <= kLargestInteger;
    }
    static quint64 integer(qint64 value) { return kIntegerTag | (quint64(value) & ~kTagMask); }
    static quint64 real(double value);
    static quint64 text(quint32 index) { return kTextTag | index; }

    /// The value of stored bits, texts looked up in `pool`.
    static GridValue value(quint64 bits, const GridStringPool& pool);
};

} // namespace quillfen
