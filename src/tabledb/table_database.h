#pragma once

// The database engine (folder tabledb): a data folder's dBASE tables and shapefiles, read into
// SQLite (plain dBASE records straight from their bytes, everything else through GDAL) and
// answering read-only selects. Uses Qt Core, GDAL and SQLite only.

#include "tabledb/dbf_table_loader.h"

#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <chrono>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tabledb {

class FolderStore;
struct HeldTableName;

/// The result of one select: rows in the order the engine returns them, read forward.
/// Field lookup is by name, case-insensitive. A NULL value comes back as a null QVariant
/// (QVariant::isNull(); typed like the column: qlonglong, double or QString), distinct from an
/// empty text. Integers come back as qlonglong,
/// reals as double, text (dates included, as M/D/YYYY) as QString.
class RecordSet {
public:
    RecordSet() = default;

    bool atEnd() const { return row_ >= rows_.size(); }
    void next() { ++row_; }
    void moveFirst() { row_ = 0; }
    int recordCount() const { return int(rows_.size()); }

    /// Index of a column by name (case-insensitive), or -1.
    int columnIndex(const QString& name) const;
    QStringList columnNames() const { return columns_; }

    /// Value of the current record's field; an invalid QVariant when the field is unknown
    /// or the set is at its end.
    QVariant value(const QString& name) const;
    QVariant value(int column) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }

    /// For a set made by Database::selectRecords: the current record's row number in its
    /// table (0-based, the record order of the .dbf file, which is also the feature index of
    /// the dataset the table belongs to); -1 otherwise.
    int rowNumber() const;

private:
    friend class FolderStore;
    /// Sets the column names and the lookup by lower-case name (the first of equal names wins).
    void setColumns(const QStringList& names);

    QStringList columns_;
    QHash<QString, int> columnByLowerName_;
    QVector<QVector<QVariant>> rows_;
    QVector<int> rowNumbers_;
    int row_ = 0;
};

/// What one select may cost before it is stopped with an error. The engine's SQLite also
/// keeps all its memory (tables, sorting, temporary results) under one ceiling
/// (Engine::setMemoryCeiling).
struct SelectLimits {
    /// Running time of the statement; the clock is read often enough (also inside LIKE) that a
    /// select is stopped well within a second of this.
    std::chrono::milliseconds duration{20000};
    /// Memory of the records a select returns.
    qint64 resultBytes = qint64(1) << 30;
};

/// The row being read by a streamed select (Database::stream and the like): the typed values
/// of the current row, valid only during the call that receives it. Integers, reals and texts
/// are those a RecordSet would hold; a BLOB reads as text.
class RowReader {
public:
    enum class Type { Null, Integer, Real, Text };

    /// Index of a column by name (case-insensitive), or -1.
    int columnIndex(const QString& name) const;
    Type type(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    /// The column's text in UTF-8.
    QByteArrayView text(int column) const;
    /// For Database::streamRecords: the record's row number in its table; -1 otherwise.
    int rowNumber() const;

private:
    friend class FolderStore;
    RowReader(sqlite3_stmt* statement, bool firstColumnIsRowNumber);

    sqlite3_stmt* statement_;
    int firstField_;
};

/// Receives the rows of a streamed select, one at a time, in the order the engine returns them.
using RowVisitor = std::function<void(const RowReader&)>;

/// A loaded table as it was when a numbered stream handed it out: its records stay readable
/// by record number while the handle lives, also after the table has been read again from a
/// changed file or its file is gone. For the thread that uses the databases.
class HeldTable {
public:
    ~HeldTable();
    HeldTable(const HeldTable&) = delete;
    HeldTable& operator=(const HeldTable&) = delete;

    /// Index of a column by name (case-insensitive) among the fields readRecord() gives, or -1.
    int columnIndex(const QString& name) const;
    /// Hands the record with this record number (RowReader::rowNumber) to `visit`, its fields
    /// those of "SELECT *"; false when the table has no such record.
    bool readRecord(int rowNumber, const RowVisitor& visit) const;

private:
    friend class FolderStore;
    HeldTable(std::shared_ptr<FolderStore> store, std::shared_ptr<HeldTableName> name, QStringList columns);

    std::shared_ptr<FolderStore> store_;
    std::shared_ptr<HeldTableName> name_;
    QStringList columns_;
};
using HeldTablePtr = std::shared_ptr<const HeldTable>;

/// Outcome of a select: the records, or an error message that names the problem.
struct SelectResult {
    RecordSet records;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// A database opened on one folder: each *.dbf file of the folder is a table named by its
/// file name without extension, case-insensitively. Cheap to copy and to open again: the
/// tables live in the engine's store, loaded on first use and kept while their files keep
/// their size and modification time.
class Database {
public:
    Database() = default;
    bool isOpen() const { return store_ != nullptr; }
    QString folder() const;

    /// Runs one read-only SELECT statement (a trailing ";" is allowed, nothing may follow).
    /// LIKE follows the dBASE convention: "*" any run, "?" one character, "#" one digit,
    /// case-insensitive. Text compares case-insensitively. Never writes any file.
    SelectResult select(const QString& sql) const;

    /// Every field of the records of `table` that satisfy `whereExpression` (all records
    /// when it is empty), in record order, each with its row number (RecordSet::rowNumber).
    /// The condition is checked exactly as select() checks a statement.
    SelectResult selectRecords(const QString& table, const QString& whereExpression = QString()) const;

    /// select() and selectRecords() handing each row to `visit` as it is read, keeping none.
    /// Returns an error message, empty on success.
    QString stream(const QString& sql, const RowVisitor& visit) const;
    QString streamRecords(const QString& table, const QString& whereExpression,
                          const RowVisitor& visit) const;
    /// Record numbers (RowReader::rowNumber) of the records of `table`, for reading them later
    /// from the table handed out in `held`, which stays as it was for its holder (HeldTable).
    /// Each returns an error message, empty on success.
    ///
    /// By key: the records whose `keyColumn` equals one of `keys` (compared as the column
    /// compares), key by key in the order of `keys`, each key's records in record order; a key
    /// given twice lists its records twice. Each row also holds the record's key column. The
    /// engine joins a temporary table of the keys and their ranks to an index of the key column,
    /// which holds the numbers: the records themselves are not read.
    QString streamRecordNumbersByKeys(const QString& table, const QString& keyColumn, const QStringList& keys,
                                      const RowVisitor& visit, HeldTablePtr* held) const;
    /// At these record numbers, in record order; a number that names no record is left out.
    QString streamRecordNumbersAt(const QString& table, const QVector<int>& rowNumbers,
                                  const RowVisitor& visit, HeldTablePtr* held) const;
    /// Those of streamRecords(), in record order.
    QString streamRecordNumbers(const QString& table, const QString& whereExpression, const RowVisitor& visit,
                                HeldTablePtr* held) const;
    /// Those of stream("SELECT * FROM " + table + " WHERE " + expression + ";"), in the order
    /// that select gives them; each row also holds every field.
    QString streamRecordNumbersWhere(const QString& table, const QString& expression, const RowVisitor& visit,
                                     HeldTablePtr* held) const;

    /// Whether the engine runs `select` (a select as select() takes it) as one walk from end
    /// to end of an index of `table` on `column`, and nothing else, after making current every
    /// table it reads: its rows then come in that column's order. False when the select is
    /// refused.
    bool walksWholeIndex(const QString& select, const QString& table, const QString& column) const;

    /// The file a table is read from (empty when the folder has none): its size and
    /// modification time tell whether the records read from it are still current.
    QString tableFile(const QString& table) const;

    /// Number of records of a table, or -1 with `error` set when it cannot be loaded.
    int recordCount(const QString& table, QString* error = nullptr) const;

    /// Faults of the table's file that its load worked round (a number field stored as text, a
    /// field left out because its name differs from another's only in case), each a sentence
    /// naming the field; empty before the table is first used.
    QStringList notesOf(const QString& table) const;

    /// Starts reading these tables off the calling thread, so that the first statement naming
    /// one waits for that table's read only, or not at all. Tables loaded and unchanged, or
    /// without a file, are left alone; errors are reported by the statements, as without this.
    void loadAhead(const QStringList& tables) const;

private:
    friend class Engine;
    explicit Database(std::shared_ptr<FolderStore> store) : store_(std::move(store)) {}
    std::shared_ptr<FolderStore> store_;
};

/// Called on the thread that uses the databases when a statement must wait for a table that
/// a loading thread is reading; returns once `finished()` answers true, for instance after
/// running a local event loop so that the window keeps repainting. Without one the thread
/// sleeps until the table is there.
void setLoadWaitHandler(std::function<void(const std::function<bool()>& finished)> wait);

/// For tests: called with the path of a table's file just before a store looks at the file to
/// decide whether a table read ahead of it is still current, so that the test can change the
/// file at that moment. None when empty.
void setReadAheadCheckHook(std::function<void(const QString& path)> hook);

/// Readies GDAL and SQLite for the engine: GDAL's drivers and settings, the file system that
/// matches names without regard to case, and the memory ceiling of SQLite. Neither library
/// takes a lock for these, so the program calls this at start-up on the window's thread,
/// before any other thread uses them; making an Engine calls it too.
void prepareEngine();

/// The one database engine of the program. Keeps one in-memory store per folder opened.
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    /// Opens the folder as a database; an error (and a closed Database) when the folder
    /// does not exist.
    Database open(const QString& folder, QString* error = nullptr);

    /// The limits of every select of this engine's databases, those open already included.
    void setSelectLimits(const SelectLimits& limits);

    /// The most memory that the tables of every engine and what their selects sort or collect
    /// may take together, in bytes (2 GiB unless set). A select that would need more stops
    /// with an error saying so.
    static void setMemoryCeiling(qint64 bytes);

    /// Names of the fields the program compares as numbers: a table loaded afterwards keeps a
    /// character field so named as numbers, and notes it (Database::notesOf).
    void setNumericFields(const QStringList& names);
    /// Names of the fields the program looks records up by: a table loaded afterwards has an
    /// index on each field so named.
    void setIndexedFields(const QStringList& names);

    /// The engine shared by the whole program.
    static Engine& instance();

private:
    QHash<QString, std::shared_ptr<FolderStore>> stores_;
    SelectLimits limits_;
    TableLoadRules loadRules_;
};

} // namespace tabledb
