#pragma once

#include "tabledb/file_stamp.h"
#include "tabledb/select_guard.h"
#include "tabledb/table_database.h"

#include <QByteArray>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace tabledb {

/// The tables of one folder in an in-memory SQLite database. A table is read from its .dbf
/// file the first time a statement names it and read again when the file's size or
/// modification time has changed since.
class TableLoadAhead;
struct StoreDatabase;

class FolderStore : public std::enable_shared_from_this<FolderStore> {
public:
    explicit FolderStore(const QString& folder);
    ~FolderStore();
    FolderStore(const FolderStore&) = delete;
    FolderStore& operator=(const FolderStore&) = delete;

    QString folder() const { return folder_; }
    void setLimits(const SelectLimits& limits) { limits_ = limits; }

    SelectResult select(const QString& sql);
    SelectResult selectRecords(const QString& table, const QString& whereExpression);
    int recordCount(const QString& table, QString* error);
    QStringList notesOf(const QString& table) const;
    /// The rules every table is loaded under from now on (see loadDbfTable).
    void setLoadRules(const TableLoadRules& rules);
    QString stream(const QString& sql, const RowVisitor& visit);
    QString streamRecords(const QString& table, const QString& whereExpression, const RowVisitor& visit);
    QString streamRecordNumbersByKeys(const QString& table, const QString& keyColumn, const QStringList& keys,
                                      const RowVisitor& visit, HeldTablePtr* held);
    QString streamRecordNumbersAt(const QString& table, const QVector<int>& rowNumbers,
                                  const RowVisitor& visit, HeldTablePtr* held);
    QString streamRecordNumbers(const QString& table, const QString& whereExpression, const RowVisitor& visit,
                                HeldTablePtr* held);
    QString streamRecordNumbersWhere(const QString& table, const QString& expression, const RowVisitor& visit,
                                     HeldTablePtr* held);
    /// For HeldTable: reads one record of a held table; lets go of a handle's hold.
    bool readHeldRecord(HeldTableName& name, int rowNumber, const RowVisitor& visit);
    void releaseHeld(std::shared_ptr<HeldTableName>& name);
    bool walksWholeIndex(const QString& select, const QString& table, const QString& column);
    QString fileOfTable(const QString& table) const;
    /// Starts reading the tables that are not loaded or whose files changed, off this thread;
    /// tables without a file are left for the statement that names them to report.
    void loadAhead(const QStringList& tables);

private:
    /// A loaded table and the state of its file when it was read.
    struct TableFile {
        FileStamp file;    ///< taken before it was read
        QString rowIdName; ///< a name of the rowid that no column shadows; empty when none is left
        QStringList notes; ///< faults of the file that the load worked round
    };

    /// Holds the database's lock for a public call, against the loading threads that copy
    /// tables into it; a call made from within another on this thread shares the lock.
    class Use;

    SelectResult run(const QByteArray& sql, bool firstColumnIsRowNumber);
    /// Prepares a caller's select once every table it reads is current; null with `error` set
    /// when it is refused.
    StatementPtr prepareCurrent(const QByteArray& sql, QString* error);
    /// The select of selectRecords(), its first column the row number followed by `fields`;
    /// empty with `error` set.
    QString recordsSql(const QString& table, const QString& whereExpression, const QString& fields,
                       QString* error);
    /// The selects of streamRecordNumbersByKeys() and streamRecordNumbersAt(); empty with
    /// `error` set.
    QByteArray keysJoinSql(const QString& table, const QString& keyColumn, const QStringList& keys,
                           QString* error);
    QByteArray recordsAtSql(const QString& table, const QVector<int>& rowNumbers, QString* error);
    /// A handle on the loaded table (lower case or not), which the caller has just made current.
    HeldTablePtr hold(const QString& table);
    SelectResult readRecords(sqlite3_stmt* statement, bool firstColumnIsRowNumber);
    /// Steps through the rows of a prepared select, stopping one that runs too long, or when
    /// `take` answers false. Returns an error message, empty on success.
    using RowTaker = std::function<bool(const RowReader&)>;
    QString stepRows(sqlite3_stmt* statement, bool firstColumnIsRowNumber, const RowTaker& take);
    bool execute(const QByteArray& sql, QString* error);
    /// Runs `createSql` (which makes a temporary table when it is missing and empties it),
    /// then, in one transaction, `insertSql` once for each of 0 to count - 1 after `bind` has
    /// bound that row's values.
    bool fillTemporaryTable(const char* createSql, const char* insertSql, int count,
                            const std::function<void(sqlite3_stmt*, int)>& bind, QString* error);
    /// Prepares `sql` and hands its rows to `visit`; an error message, empty on success.
    QString streamSelect(const QByteArray& sql, bool firstColumnIsRowNumber, const RowVisitor& visit);
    /// Whether an index of the loaded `table` (lower case) has `column` as its first column.
    bool hasIndexLeadingWith(const QString& table, const QString& column);
    /// Makes the table current: loads it when absent, reloads it when its file changed.
    /// `reloaded` tells whether the SQLite schema changed.
    bool refreshTable(const QString& table, bool* reloaded, QString* error);
    bool loadTable(const QString& table, const QString& path, QString* error);
    /// Makes the table current and gives the name of its record-number column (empty when the
    /// table's own columns leave it none).
    bool refreshRowIdName(const QString& table, QString* rowId, QString* error);
    /// Lets go of the database's lock while the table is read and copied on a loading thread.
    void waitFor(TableLoadAhead& load);
    /// Counts the tables that loading threads have copied into the database as loaded, those
    /// of files that changed since their read began excepted: these are dropped.
    void adoptLoadedAhead();
    /// Whether `load` read the file at `path` as it is now; `now` gets the file's stamp, taken
    /// once for this decision. A read-ahead is used or dropped only by this.
    bool readAheadIsCurrent(const TableLoadAhead& load, const QString& path, FileStamp* now) const;
    bool isCurrent(const QString& key, const QString& path) const;
    void forgetTable(const QString& key);
    QString notFound(const QString& table) const;

    QString folder_;
    SelectLimits limits_;
    /// When the running select must stop; never while none runs.
    QDeadlineTimer selectDeadline_{QDeadlineTimer::Forever};
    std::shared_ptr<StoreDatabase> database_;
    sqlite3* db_ = nullptr; ///< database_->db, used only with its lock held
    std::unique_lock<std::mutex> databaseLock_;
    int useDepth_ = 0;                 ///< calls on this thread that hold databaseLock_
    QHash<QString, TableFile> tables_; ///< by lower-case table name
    TableLoadRules loadRules_;
    QHash<QString, std::shared_ptr<TableLoadAhead>> loadsAhead_; ///< by lower-case table name
};

} // namespace tabledb
