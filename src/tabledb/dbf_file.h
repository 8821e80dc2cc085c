#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>

#include <vector>

namespace tabledb {

/// One field of a dBASE file as its header describes it.
struct DbfField {
    QByteArray name;
    char type = 0;  ///< 'C', 'N', 'F', 'D', ...
    int offset = 0; ///< of its bytes within a record, the deletion mark being byte 0
    int width = 0;
    int decimals = 0;
};

/// The records of a dBASE file read straight from its bytes, a block of records at a time, for
/// a quick load of a whole table. It reads only files whose header is consistent (fields
/// inside the record, the file long enough for every record it announces); for any other file
/// open() fails and the caller reads it another way.
class DbfFile {
public:
    bool open(const QString& path);

    const std::vector<DbfField>& fields() const { return fields_; }
    qint64 recordCount() const { return recordCount_; }

    /// The next record not marked deleted: its number in the file (0-based) and its bytes.
    /// False at the end of the records or when the file cannot be read.
    bool nextRecord(qint64* number, QByteArrayView* record);
    /// Whether the records ended because the file could not be read.
    bool readFailed() const { return readFailed_; }

    /// The text of a field in a record: its bytes up to the first NUL, without the spaces
    /// before and after it.
    static QByteArrayView fieldText(QByteArrayView record, const DbfField& field);

private:
    bool readHeader();
    bool fillBlock();

    QFile file_;
    std::vector<DbfField> fields_;
    qint64 recordCount_ = 0;
    int headerLength_ = 0;
    int recordLength_ = 0;
    qint64 nextNumber_ = 0;
    QByteArray block_;
    qint64 blockFirst_ = 0; ///< number of the block's first record
    qint64 blockCount_ = 0; ///< records in the block
    bool readFailed_ = false;
};

} // namespace tabledb
