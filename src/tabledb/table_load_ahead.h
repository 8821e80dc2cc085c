#pragma once

#include "tabledb/dbf_table_loader.h"
#include "tabledb/file_stamp.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <condition_variable>
#include <memory>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace tabledb {

/// Where the records of a held table (HeldTable) are read: the table's name in the store's
/// database and its prepared read by record number (null until first needed). Used only with
/// the store's lock held.
struct HeldTableName {
    QString sqlName; ///< empty when the table could not be kept
    QString rowIdName;
    sqlite3_stmt* read = nullptr;
};

/// A store's database and the lock that its owner's thread and the loading threads take to
/// use it. `db` is null once the store has closed it.
struct StoreDatabase {
    std::mutex lock;
    sqlite3* db = nullptr;
    /// The tables that handles hold, by lower-case name, while each is the table of that name.
    QHash<QString, std::weak_ptr<HeldTableName>> held;
    /// Tables set aside for their holders when a new read took their name, by their new name.
    QVector<QPair<QString, std::weak_ptr<HeldTableName>>> setAside;
    int setAsideCount = 0;
};

/// Before table `table` (lower case) is dropped or replaced: when handles hold it, it is kept
/// under a name of its own, without its indexes, for them to read. With the store's lock held,
/// outside any transaction.
void setAsideHeldTable(StoreDatabase& store, const QString& table);
/// Drops the tables set aside that no handle holds any more; with the store's lock held.
void dropUnheldTables(StoreDatabase& store);

/// One table read ahead of need, off the thread that owns the store.
///
/// A loading thread reads the .dbf file into an in-memory database of its own, then, holding
/// the store's lock, copies the table into the store's database under its own name, replacing
/// a table of that name, in one transaction. The owner's thread then only records that the
/// table is there (adopt). The owner's lists of tables are never touched by a loading thread:
/// the outcome (fields, notes, error) passes under this object's lock.
class TableLoadAhead {
public:
    /// Queues the read of the file at `path` as table `table` of `store` on the loading
    /// threads, under the program's load rules (see loadDbfTable).
    static std::shared_ptr<TableLoadAhead> start(const QString& table, const QString& path,
                                                 const TableLoadRules& rules,
                                                 std::shared_ptr<StoreDatabase> store);

    TableLoadAhead(const QString& table, const QString& path, const TableLoadRules& rules,
                   std::shared_ptr<StoreDatabase> store);
    ~TableLoadAhead();
    TableLoadAhead(const TableLoadAhead&) = delete;
    TableLoadAhead& operator=(const TableLoadAhead&) = delete;

    QString path() const { return path_; }
    /// The file's stamp taken before it was read: the read is at least as new as that.
    FileStamp stamp() const { return stamp_; }

    /// Whether the read is of the file as `stamp` finds it, under these load rules.
    bool isOf(const FileStamp& stamp, const TableLoadRules& rules) const;
    /// Whether the table is in the store's database, copied there by a loading thread.
    bool isInstalled() const;
    /// Keeps a loading thread from reading the table or from copying it into the store.
    /// Called with the store's lock held.
    void cancel();

    /// Claims a read that no loading thread has begun, for the calling thread to do with
    /// loadHere(); false when a loading thread has it.
    bool claim();
    /// Reads the claimed table and copies it into the store, with the store's lock held.
    void loadHere();
    /// Whether the table is in the store's database or has failed.
    bool isDone() const;
    /// Waits through the wait handler (setLoadWaitHandler) until the table is done; the
    /// caller holds no lock of the store meanwhile.
    void waitUntilDone();
    /// Once done: true with `loaded` set, or false with `error` in the words of a load on
    /// the calling thread.
    bool result(LoadedTable* loaded, QString* error) const;

private:
    struct Outcome;
    enum class State { Queued, Reading, Done, Cancelled };

    void readOnLoadingThread();
    /// Reads the file into a database of its own.
    std::unique_ptr<Outcome> read() const;
    /// Copies the read table into the store's database; the store's lock is held.
    void install(Outcome& outcome) const;
    void finishWith(std::unique_ptr<Outcome> outcome);

    const QString table_;
    const QString path_;
    const TableLoadRules rules_;
    const FileStamp stamp_;
    const std::shared_ptr<StoreDatabase> store_;

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    State state_ = State::Queued;
    bool cancelled_ = false;
    std::unique_ptr<Outcome> outcome_;
};

} // namespace tabledb
