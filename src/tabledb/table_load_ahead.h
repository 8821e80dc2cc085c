#pragma once

#include "tabledb/dbf_table_loader.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>

struct sqlite3;

namespace tabledb {

/// One table read ahead of need, off the thread that owns the store.
///
/// A loading thread reads the .dbf file into an in-memory database of its own and keeps it as
/// that database's bytes; when the table is needed, the owner's thread copies it from those
/// bytes into its own database. The loading thread touches no connection, dataset or object of
/// the owner: the outcome of the read (bytes, fields, error) is all that passes between the
/// two threads, under this object's lock.
class TableLoadAhead {
public:
    /// Queues the read of the file at `path` as table `table` on the loading threads, with
    /// the character fields of `numericFields` kept as numbers (see loadDbfTable).
    static std::shared_ptr<TableLoadAhead> start(const QString& table, const QString& path,
                                                 const QSet<QString>& numericFields);

    TableLoadAhead(const QString& table, const QString& path, const QSet<QString>& numericFields);
    ~TableLoadAhead();
    TableLoadAhead(const TableLoadAhead&) = delete;
    TableLoadAhead& operator=(const TableLoadAhead&) = delete;

    /// Whether the read is of the file at `path` with the size and modification time it has
    /// now, and with these numeric fields.
    bool isOf(const QString& path, const QSet<QString>& numericFields) const;
    /// Whether the read is over, so that finishInto() does not wait for it.
    bool isRead() const;
    /// Drops a read that no loading thread has begun yet.
    void cancel();

    /// Waits for the read, or does it on the calling thread when no loading thread has begun
    /// it, then copies the table into `db`, replacing a table of that name, in one transaction,
    /// with the same record numbers, types and index. On failure nothing changes in `db` and
    /// `error` names the problem in the words of a load on the calling thread. Called once.
    bool finishInto(sqlite3* db, LoadedTable* loaded, QString* error);

private:
    struct Outcome;
    enum class State { Queued, Reading, Read, Cancelled };

    void readOnLoadingThread();
    void read();

    const QString table_;
    const QString path_;
    const QSet<QString> numericFields_;
    const qint64 size_;
    const QDateTime modified_;

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    State state_ = State::Queued;
    std::unique_ptr<Outcome> outcome_;
};

/// While it lives, and when `waits`, the load wait handler (setLoadWaitHandler) knows that
/// the thread waits for a table to be read.
class LoadWait {
public:
    explicit LoadWait(bool waits);
    ~LoadWait();
    LoadWait(const LoadWait&) = delete;
    LoadWait& operator=(const LoadWait&) = delete;

private:
    const bool waits_;
};

} // namespace tabledb
