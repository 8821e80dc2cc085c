#include "tabledb/dbf_file.h"

#include <QtEndian>

#include <algorithm>

namespace tabledb {

namespace {

constexpr int kMainHeaderLength = 32;
constexpr int kFieldDescriptorLength = 32;
constexpr char kEndOfFieldDescriptors = 0x0D;
constexpr char kDeletedMark = '*';
/// Records are read in blocks of about this many bytes.
constexpr qint64 kBlockBytes = 1 << 20;

DbfField fieldOf(const char* descriptor, int offset) {
    DbfField field;
    field.name = QByteArray(descriptor, int(qstrnlen(descriptor, 11)));
    field.type = descriptor[11];
    field.offset = offset;
    field.width = static_cast<unsigned char>(descriptor[16]);
    field.decimals = static_cast<unsigned char>(descriptor[17]);
    return field;
}

} // namespace

bool DbfFile::open(const QString& path) {
    file_.setFileName(path);
    return file_.open(QIODevice::ReadOnly) && readHeader();
}

bool DbfFile::readHeader() {
    char main[kMainHeaderLength];
    if (file_.read(main, kMainHeaderLength) != kMainHeaderLength)
        return false;
    recordCount_ = qFromLittleEndian<quint32>(main + 4);
    headerLength_ = qFromLittleEndian<quint16>(main + 8);
    recordLength_ = qFromLittleEndian<quint16>(main + 10);
    const int descriptorBytes = headerLength_ - kMainHeaderLength;
    const QByteArray descriptors = file_.read(std::max(descriptorBytes, 0));
    if (descriptorBytes <= 0 || descriptors.size() != descriptorBytes)
        return false;
    int offset = 1;
    for (int at = 0;
         at + kFieldDescriptorLength <= descriptorBytes && descriptors[at] != kEndOfFieldDescriptors;
         at += kFieldDescriptorLength) {
        fields_.push_back(fieldOf(descriptors.constData() + at, offset));
        offset += fields_.back().width;
        if (fields_.back().width == 0 || offset > recordLength_)
            return false;
    }
    return !fields_.empty() && file_.size() >= headerLength_ + recordCount_ * recordLength_ &&
           file_.seek(headerLength_);
}

bool DbfFile::fillBlock() {
    blockFirst_ += blockCount_;
    blockCount_ = std::min(std::max<qint64>(kBlockBytes / recordLength_, 1), recordCount_ - blockFirst_);
    if (blockCount_ <= 0)
        return false;
    block_.resize(blockCount_ * recordLength_);
    if (file_.read(block_.data(), block_.size()) != block_.size()) {
        readFailed_ = true;
        return false;
    }
    return true;
}

bool DbfFile::nextRecord(qint64* number, QByteArrayView* record) {
    for (;;) {
        if (nextNumber_ >= blockFirst_ + blockCount_ && !fillBlock())
            return false;
        const qint64 index = nextNumber_ - blockFirst_;
        *number = nextNumber_++;
        *record = QByteArrayView(block_.constData() + index * recordLength_, recordLength_);
        if (record->front() != kDeletedMark)
            return true;
    }
}

QByteArrayView DbfFile::fieldText(QByteArrayView record, const DbfField& field) {
    QByteArrayView text = record.sliced(field.offset, field.width);
    text = text.first(qsizetype(qstrnlen(text.data(), size_t(text.size()))));
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == ' ')
        text = text.chopped(1);
    return text;
}

} // namespace tabledb
