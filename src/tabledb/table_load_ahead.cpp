#include "tabledb/table_load_ahead.h"

#include "tabledb/dbf_table_loader.h"
#include "tabledb/memory_database.h"
#include "tabledb/table_database.h"

#include <QThread>
#include <QThreadPool>

#include <sqlite3.h>

namespace tabledb {

namespace {

/// The schema name under which a read table is attached while it is copied.
const QString kIncoming = QStringLiteral("incoming");

struct SqliteFree {
    void operator()(unsigned char* bytes) const { sqlite3_free(bytes); }
};
struct ConnectionClose {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

/// The threads that read tables ahead: one per core, shared by every store.
QThreadPool& loadingThreads() {
    static QThreadPool pool;
    static const bool sized = [] {
        pool.setMaxThreadCount(QThread::idealThreadCount());
        return true;
    }();
    Q_UNUSED(sized);
    return pool;
}

/// The CREATE statements of the attached read table: the table's first, then its indexes'.
QStringList schemaOfIncoming(sqlite3* db) {
    QStringList statements;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QStringLiteral("SELECT sql FROM %1.sqlite_schema WHERE sql IS NOT NULL "
                                          "ORDER BY type = 'index'")
                               .arg(kIncoming)
                               .toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return statements;
    while (sqlite3_step(statement) == SQLITE_ROW)
        statements << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return statements;
}

/// The smallest and largest record number of a table and its record count, as one text.
QString recordNumbersOf(sqlite3* db, const QString& table, const QString& rowId) {
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql =
        QStringLiteral("SELECT min(%1), max(%1), count(*) FROM %2").arg(rowId, table).toUtf8();
    QString range;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        range = QStringLiteral("%1 %2 %3")
                    .arg(sqlite3_column_int64(statement, 0))
                    .arg(sqlite3_column_int64(statement, 1))
                    .arg(sqlite3_column_int64(statement, 2));
    sqlite3_finalize(statement);
    return range;
}

/// Creates `table` in `db` from the statements of the attached copy and copies its records
/// with their record numbers; inside the caller's transaction.
bool copyIncoming(sqlite3* db, const QString& table, const LoadedTable& loaded, QString* error) {
    const QStringList schema = schemaOfIncoming(db);
    if (schema.isEmpty()) {
        *error = QStringLiteral("the table read ahead is empty");
        return false;
    }
    const QString target = QStringLiteral("main.") + quotedIdentifier(table);
    const QString source = kIncoming + '.' + quotedIdentifier(table);
    if (!execute(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(target), error))
        return false;
    for (const QString& statement : schema) {
        if (!execute(db, statement, error))
            return false;
    }
    // Between tables of one schema and indexes, SQLite copies the stored records as they
    // are, record numbers included, which is several times quicker than reading each value.
    if (!execute(db, QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(target, source), error))
        return false;
    const QString rowId = loaded.rowIdName;
    if (rowId.isEmpty() || recordNumbersOf(db, target, rowId) == recordNumbersOf(db, source, rowId))
        return true;
    // That shortcut is SQLite's choice: without it the records were numbered afresh, so
    // they are copied again naming the record number.
    QStringList fields{rowId};
    for (const QString& column : loaded.columns)
        fields << quotedIdentifier(column);
    const QString names = fields.join(", ");
    return execute(db, QStringLiteral("DELETE FROM %1").arg(target), error) &&
           execute(db, QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(target, names, source),
                   error);
}

using WaitHandler = std::function<void(const std::function<bool()>&)>;

WaitHandler& loadWaitHandler() {
    static WaitHandler handler;
    return handler;
}

QString outOfMemory(const QString& table, const QString& path) {
    return QStringLiteral("cannot read table %1 from %2: out of memory").arg(table, path);
}

} // namespace

void setLoadWaitHandler(std::function<void(const std::function<bool()>& finished)> wait) {
    loadWaitHandler() = std::move(wait);
}

/// What a read leaves: the bytes of a database holding the one table, or an error.
struct TableLoadAhead::Outcome {
    std::unique_ptr<unsigned char, SqliteFree> image;
    sqlite3_int64 size = 0;
    LoadedTable loaded;
    QString error;
};

std::shared_ptr<TableLoadAhead> TableLoadAhead::start(const QString& table, const QString& path,
                                                      const TableLoadRules& rules,
                                                      std::shared_ptr<StoreDatabase> store) {
    auto load = std::make_shared<TableLoadAhead>(table, path, rules, std::move(store));
    loadingThreads().start([load] { load->readOnLoadingThread(); });
    return load;
}

TableLoadAhead::TableLoadAhead(const QString& table, const QString& path, const TableLoadRules& rules,
                               std::shared_ptr<StoreDatabase> store)
    : table_(table), path_(path), rules_(rules), stamp_(FileStamp::of(path)), store_(std::move(store)) {}

TableLoadAhead::~TableLoadAhead() = default;

bool TableLoadAhead::isOf(const FileStamp& stamp, const TableLoadRules& rules) const {
    return stamp == stamp_ && rules == rules_;
}

bool TableLoadAhead::isInstalled() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Done && outcome_ && outcome_->error.isEmpty();
}

bool TableLoadAhead::isDone() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Done;
}

void TableLoadAhead::cancel() {
    const std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    if (state_ == State::Queued)
        state_ = State::Cancelled;
}

bool TableLoadAhead::claim() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != State::Queued && state_ != State::Cancelled)
        return false;
    state_ = State::Reading;
    cancelled_ = false;
    return true;
}

void TableLoadAhead::loadHere() {
    std::unique_ptr<Outcome> outcome = read();
    if (outcome->error.isEmpty())
        install(*outcome);
    finishWith(std::move(outcome));
}

void TableLoadAhead::readOnLoadingThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Queued)
            return;
        state_ = State::Reading;
    }
    std::unique_ptr<Outcome> outcome = read();
    if (!outcome->error.isEmpty()) {
        finishWith(std::move(outcome));
        return;
    }
    // The table is in the store's database and marked done in one step under the store's
    // lock, so that the owner never finds it there without knowing it.
    const std::lock_guard<std::mutex> storeLock(store_->lock);
    bool cancelled = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        cancelled = cancelled_;
    }
    // A store that is closed, or a read that a newer one replaces, leaves the database alone.
    if (cancelled || !store_->db)
        outcome->error = QStringLiteral("the read of table %1 was dropped").arg(table_);
    else
        install(*outcome);
    finishWith(std::move(outcome));
}

std::unique_ptr<TableLoadAhead::Outcome> TableLoadAhead::read() const {
    auto outcome = std::make_unique<Outcome>();
    sqlite3* opened = nullptr;
    const int rc = openMemoryDatabase(&opened);
    const std::unique_ptr<sqlite3, ConnectionClose> db(opened);
    if (rc != SQLITE_OK) {
        outcome->error = outOfMemory(table_, path_);
        return outcome;
    }
    // As in the store: indexing sorts in memory and writes no file.
    sqlite3_exec(db.get(), "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    if (loadDbfTable(db.get(), table_, path_, rules_, &outcome->loaded, &outcome->error)) {
        outcome->image.reset(sqlite3_serialize(db.get(), "main", &outcome->size, 0));
        if (!outcome->image)
            outcome->error = outOfMemory(table_, path_);
    }
    return outcome;
}

void TableLoadAhead::install(Outcome& outcome) const {
    sqlite3* db = store_->db;
    QString error;
    setAsideHeldTable(*store_, table_);
    // The read database is attached only while its table is copied; the limit of attached
    // databases is raised for that and put back after.
    const int attachedBefore = sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 1);
    bool ok = execute(db, QStringLiteral("ATTACH ':memory:' AS %1").arg(kIncoming), &error);
    if (ok) {
        // SQLite owns and frees the bytes from here on, also when it refuses them.
        const int rc = sqlite3_deserialize(db, kIncoming.toUtf8().constData(), outcome.image.release(),
                                           outcome.size, outcome.size, SQLITE_DESERIALIZE_FREEONCLOSE);
        ok = rc == SQLITE_OK;
        if (!ok)
            error = QString::fromUtf8(sqlite3_errstr(rc));
        if (ok && execute(db, QStringLiteral("BEGIN"), &error)) {
            ok = copyIncoming(db, table_, outcome.loaded, &error) &&
                 execute(db, QStringLiteral("COMMIT"), &error);
            QString ignored;
            if (!ok)
                execute(db, QStringLiteral("ROLLBACK"), &ignored);
        } else {
            ok = false;
        }
        QString ignored;
        execute(db, QStringLiteral("DETACH %1").arg(kIncoming), &ignored);
    }
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, attachedBefore);
    if (!ok)
        outcome.error = QStringLiteral("cannot read table %1 from %2: %3").arg(table_, path_, error);
}

void TableLoadAhead::finishWith(std::unique_ptr<Outcome> outcome) {
    const std::lock_guard<std::mutex> lock(mutex_);
    outcome_ = std::move(outcome);
    state_ = State::Done;
    finished_.notify_all();
}

void TableLoadAhead::waitUntilDone() {
    if (loadWaitHandler())
        loadWaitHandler()([this] { return isDone(); });
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return state_ == State::Done; });
}

bool TableLoadAhead::result(LoadedTable* loaded, QString* error) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != State::Done || !outcome_->error.isEmpty()) {
        *error = state_ == State::Done ? outcome_->error
                                       : QStringLiteral("table %1 is still being read").arg(table_);
        return false;
    }
    *loaded = outcome_->loaded;
    return true;
}

void setAsideHeldTable(StoreDatabase& store, const QString& table) {
    const std::shared_ptr<HeldTableName> name = store.held.take(table).lock();
    if (!name || !store.db)
        return;
    sqlite3_finalize(name->read);
    name->read = nullptr;
    // The new read creates indexes of the same names; the table set aside is read by record
    // number only.
    QStringList indexes;
    sqlite3_stmt* list = nullptr;
    if (sqlite3_prepare_v2(store.db,
                           "SELECT name FROM main.sqlite_schema WHERE type = 'index' AND tbl_name = ?1 "
                           "AND sql IS NOT NULL;",
                           -1, &list, nullptr) == SQLITE_OK) {
        const QByteArray tableName = table.toUtf8();
        sqlite3_bind_text(list, 1, tableName.constData(), int(tableName.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(list) == SQLITE_ROW)
            indexes << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
    }
    sqlite3_finalize(list);
    QString error;
    for (const QString& index : std::as_const(indexes))
        execute(store.db, QStringLiteral("DROP INDEX main.%1").arg(quotedIdentifier(index)), &error);
    const QString aside = QStringLiteral("%1 held %2").arg(table).arg(++store.setAsideCount);
    const bool kept = execute(store.db,
                              QStringLiteral("ALTER TABLE main.%1 RENAME TO %2")
                                  .arg(quotedIdentifier(table), quotedIdentifier(aside)),
                              &error);
    name->sqlName = kept ? aside : QString();
    if (kept)
        store.setAside.append({aside, name});
}

void dropUnheldTables(StoreDatabase& store) {
    for (qsizetype i = 0; i < store.setAside.size();) {
        if (!store.setAside[i].second.expired()) {
            ++i;
            continue;
        }
        QString error;
        execute(store.db,
                QStringLiteral("DROP TABLE IF EXISTS main.%1").arg(quotedIdentifier(store.setAside[i].first)),
                &error);
        store.setAside.removeAt(i);
    }
}

} // namespace tabledb
