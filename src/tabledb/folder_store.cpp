#include "tabledb/folder_store.h"

#include "tabledb/data_file_names.h"
#include "tabledb/dbase_like.h"
#include "tabledb/dbf_table_loader.h"
#include "tabledb/memory_database.h"
#include "tabledb/select_guard.h"
#include "tabledb/table_load_ahead.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <chrono>

namespace tabledb {

namespace {

/// Each attempt loads or reloads at least one table, so this bounds the tables one
/// statement can name.
constexpr int kMaxPrepareAttempts = 64;

/// The longest text or blob a statement may make.
constexpr int kLongestValue = 1000000;
/// How many virtual-machine steps pass between two looks at the clock: well under a
/// millisecond of work.
constexpr int kProgressSteps = 1000;
/// What a record of a result costs besides its values, and a value besides its text.
constexpr qint64 kRowBytes = sizeof(QVector<QVariant>) + 32;
constexpr qint64 kValueBytes = sizeof(QVariant) + 32;

int stopAtDeadline(void* deadline) {
    return static_cast<QDeadlineTimer*>(deadline)->hasExpired() ? 1 : 0;
}

/// The memory a value takes in a RecordSet.
qint64 bytesOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return kValueBytes + qint64(sizeof(QChar)) * value.toString().size();
    case QMetaType::QByteArray:
        return kValueBytes + value.toByteArray().size();
    default:
        return kValueBytes;
    }
}

/// A row taker that hands every row to `visit`.
std::function<bool(const RowReader&)> everyRow(const RowVisitor& visit) {
    return [&visit](const RowReader& row) {
        visit(row);
        return true;
    };
}

QString seconds(std::chrono::milliseconds duration) {
    return QString::number(double(duration.count()) / 1000.0);
}

std::function<void(const QString&)>& readAheadCheckHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

SelectResult failure(const QString& message) {
    SelectResult result;
    result.error = message;
    return result;
}

/// A condition without the statement terminators a caller may have left on it.
QString bareCondition(const QString& whereExpression) {
    QString condition = whereExpression.trimmed();
    while (condition.endsWith(';'))
        condition = condition.chopped(1).trimmed();
    return condition;
}

/// The null value of a result column: typed after the declared column type, as Qt's own
/// database layer does, so that it converts like the column's other values.
QVariant nullValueOf(sqlite3_stmt* statement, int column) {
    const QByteArray declared = QByteArray(sqlite3_column_decltype(statement, column)).toUpper();
    if (declared.startsWith("INTEGER"))
        return QVariant(QMetaType::fromType<qlonglong>());
    if (declared.startsWith("REAL"))
        return QVariant(QMetaType::fromType<double>());
    return QVariant(QMetaType::fromType<QString>());
}

QVariant valueOf(sqlite3_stmt* statement, int column, const QVariant& nullValue) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(statement, column)));
    }
    default:
        return nullValue;
    }
}

} // namespace

class FolderStore::Use {
public:
    explicit Use(FolderStore& store) : store_(store) {
        if (store_.useDepth_++ == 0) {
            store_.databaseLock_.lock();
            store_.adoptLoadedAhead();
            dropUnheldTables(*store_.database_);
        }
    }
    ~Use() {
        if (--store_.useDepth_ == 0)
            store_.databaseLock_.unlock();
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

private:
    FolderStore& store_;
};

FolderStore::FolderStore(const QString& folder)
    : folder_(folder), database_(std::make_shared<StoreDatabase>()),
      databaseLock_(database_->lock, std::defer_lock) {
    openMemoryDatabase(&db_);
    database_->db = db_;
    // Statements can only read (see select_guard); these close the remaining doors anyway.
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
    // No value a search needs comes near this; a typed expression cannot build huge blobs.
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kLongestValue);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    // Sorting and collecting stay in memory, under the engine's ceiling (prepareSqliteMemory): a
    // search writes no file.
    sqlite3_exec(db_, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    registerDbaseLike(db_, &selectDeadline_);
}

FolderStore::~FolderStore() {
    const std::lock_guard<std::mutex> lock(database_->lock);
    for (const auto& load : std::as_const(loadsAhead_))
        load->cancel();
    database_->db = nullptr;
    sqlite3_close_v2(db_);
}

SelectResult FolderStore::select(const QString& sql) {
    const Use use(*this);
    return run(sql.toUtf8(), false);
}

QString FolderStore::recordsSql(const QString& table, const QString& whereExpression, const QString& fields,
                                QString* error) {
    bool reloaded = false;
    if (!refreshTable(table, &reloaded, error))
        return QString();
    const QString rowId = tables_.value(table.toLower()).rowIdName;
    if (rowId.isEmpty()) {
        *error = QStringLiteral("table %1 has no record numbers: its columns hide them").arg(table);
        return QString();
    }
    const QString condition = bareCondition(whereExpression);
    QString sql = QStringLiteral("SELECT %1%2 FROM %3").arg(rowId, fields, quotedIdentifier(table.toLower()));
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE (%1)").arg(condition);
    sql += QStringLiteral(" ORDER BY 1;");
    return sql;
}

SelectResult FolderStore::selectRecords(const QString& table, const QString& whereExpression) {
    const Use use(*this);
    QString error;
    const QString sql = recordsSql(table, whereExpression, QStringLiteral(", *"), &error);
    if (sql.isEmpty())
        return failure(error);
    return run(sql.toUtf8(), true);
}

QStringList FolderStore::notesOf(const QString& table) const {
    return tables_.value(table.toLower()).notes;
}

void FolderStore::setLoadRules(const TableLoadRules& rules) {
    loadRules_ = rules;
}

QString FolderStore::stream(const QString& sql, const RowVisitor& visit) {
    const Use use(*this);
    QString error;
    const StatementPtr statement = prepareCurrent(sql.toUtf8(), &error);
    return statement ? stepRows(statement.get(), false, everyRow(visit)) : error;
}

QString FolderStore::streamRecords(const QString& table, const QString& whereExpression,
                                   const RowVisitor& visit) {
    const Use use(*this);
    QString error;
    const QString sql = recordsSql(table, whereExpression, QStringLiteral(", *"), &error);
    if (sql.isEmpty())
        return error;
    const StatementPtr statement = prepareCurrent(sql.toUtf8(), &error);
    return statement ? stepRows(statement.get(), true, everyRow(visit)) : error;
}

QString FolderStore::streamRecordNumbersByKeys(const QString& table, const QString& keyColumn,
                                               const QStringList& keys, const RowVisitor& visit,
                                               HeldTablePtr* held) {
    const Use use(*this);
    QString error;
    const QByteArray sql = keysJoinSql(table, keyColumn, keys, &error);
    if (sql.isEmpty() || !(error = streamSelect(sql, true, visit)).isEmpty())
        return error;
    *held = hold(table);
    return QString();
}

QByteArray FolderStore::keysJoinSql(const QString& table, const QString& keyColumn, const QStringList& keys,
                                    QString* error) {
    QString rowId;
    if (!refreshRowIdName(table, &rowId, error))
        return QByteArray();
    if (rowId.isEmpty()) {
        *error = QStringLiteral("table %1 has no record numbers: its columns hide them").arg(table);
        return QByteArray();
    }
    const QString key = table.toLower();
    const QString tableName = quotedIdentifier(key);
    const QString column = quotedIdentifier(keyColumn.toLower());
    // The index lives as long as the loaded table (a reload drops both), so that every join
    // finds each key's records directly and already in record order. The load indexes some
    // columns already; a second index of one would cost a sort of the whole table.
    const QString index = quotedIdentifier(key + QStringLiteral("__by_") + keyColumn.toLower());
    if ((!hasIndexLeadingWith(key, keyColumn) &&
         !execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3);")
                      .arg(index, tableName, column)
                      .toUtf8(),
                  error)) ||
        !fillTemporaryTable(
            "CREATE TEMP TABLE IF NOT EXISTS found_keys(rank INTEGER PRIMARY KEY, key);"
            "DELETE FROM temp.found_keys;",
            "INSERT INTO temp.found_keys(rank, key) VALUES(?, ?);", int(keys.size()),
            [&keys](sqlite3_stmt* insert, int rank) {
                const QByteArray text = keys[rank].toUtf8();
                sqlite3_bind_int(insert, 1, rank);
                sqlite3_bind_text(insert, 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            },
            error))
        return QByteArray();

    // The numbers and keys come from the key's index, which holds them: the table is not read.
    return QStringLiteral("SELECT t.%1, t.%2 FROM temp.found_keys f JOIN %3 t ON t.%2 = f.key "
                          "ORDER BY f.rank, t.%1;")
        .arg(rowId, column, tableName)
        .toUtf8();
}

QString FolderStore::streamRecordNumbersAt(const QString& table, const QVector<int>& rowNumbers,
                                           const RowVisitor& visit, HeldTablePtr* held) {
    const Use use(*this);
    QString error;
    const QByteArray sql = recordsAtSql(table, rowNumbers, &error);
    if (sql.isEmpty() || !(error = streamSelect(sql, true, visit)).isEmpty())
        return error;
    *held = hold(table);
    return QString();
}

QByteArray FolderStore::recordsAtSql(const QString& table, const QVector<int>& rowNumbers, QString* error) {
    QString rowId;
    if (!refreshRowIdName(table, &rowId, error))
        return QByteArray();
    const QString key = table.toLower();
    if (rowId.isEmpty()) {
        *error = QStringLiteral("table %1 has no record numbers: its columns hide them").arg(table);
        return QByteArray();
    }
    if (!fillTemporaryTable(
            "CREATE TEMP TABLE IF NOT EXISTS found_rows(number INTEGER PRIMARY KEY);"
            "DELETE FROM temp.found_rows;",
            "INSERT OR IGNORE INTO temp.found_rows(number) VALUES(?);", int(rowNumbers.size()),
            [&rowNumbers](sqlite3_stmt* insert, int i) { sqlite3_bind_int(insert, 1, rowNumbers[i]); },
            error))
        return QByteArray();

    // Each record is found by its number, so the records not asked for cost nothing.
    return QStringLiteral(
               "SELECT t.%1 FROM temp.found_rows f JOIN %2 t ON t.%1 = f.number ORDER BY f.number;")
        .arg(rowId, quotedIdentifier(key))
        .toUtf8();
}

QString FolderStore::streamRecordNumbers(const QString& table, const QString& whereExpression,
                                         const RowVisitor& visit, HeldTablePtr* held) {
    const Use use(*this);
    QString error;
    const QString sql = recordsSql(table, whereExpression, QString(), &error);
    if (sql.isEmpty())
        return error;
    const StatementPtr statement = prepareCurrent(sql.toUtf8(), &error);
    if (!statement || !(error = stepRows(statement.get(), true, everyRow(visit))).isEmpty())
        return error;
    *held = hold(table);
    return QString();
}

QString FolderStore::streamRecordNumbersWhere(const QString& table, const QString& expression,
                                              const RowVisitor& visit, HeldTablePtr* held) {
    const Use use(*this);
    QString error, rowId;
    if (!refreshRowIdName(table, &rowId, &error))
        return error;
    if (rowId.isEmpty())
        return QStringLiteral("table %1 has no record numbers: its columns hide them").arg(table);
    // Every field stays in the select, so that the engine reads the records in the order it
    // would for "SELECT *".
    const QByteArray sql = ("SELECT " + rowId + ", * FROM " + table + " WHERE " + expression + ";").toUtf8();
    const StatementPtr statement = prepareCurrent(sql, &error);
    if (!statement || !(error = stepRows(statement.get(), true, everyRow(visit))).isEmpty())
        return error;
    *held = hold(table);
    return QString();
}

bool FolderStore::walksWholeIndex(const QString& select, const QString& table, const QString& column) {
    const Use use(*this);
    QString error;
    // Prepared as the select itself is, so that the plan is the one it would run by.
    if (!prepareCurrent(select.toUtf8(), &error))
        return false;
    const QByteArray sql = "EXPLAIN QUERY PLAN " + select.toUtf8();
    sqlite3_stmt* explain = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &explain, nullptr) != SQLITE_OK)
        return false;
    const StatementPtr explaining(explain);
    QStringList plan;
    while (sqlite3_step(explain) == SQLITE_ROW)
        plan << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(explain, 3)));
    if (plan.size() != 1)
        return false;
    // The indexes the load and the joins by key make on a column (see indexColumns() and
    // streamRecordNumbersByKeys()).
    const QString key = table.toLower();
    for (const QString& index : {key + QStringLiteral(" by ") + column.toLower(),
                                 key + QStringLiteral("__by_") + column.toLower()}) {
        for (const char* how : {"INDEX ", "COVERING INDEX "}) {
            if (plan.first() == QStringLiteral("SCAN %1 USING %2%3").arg(table, QLatin1String(how), index))
                return true;
        }
    }
    return false;
}

HeldTablePtr FolderStore::hold(const QString& table) {
    const QString key = table.toLower();
    std::shared_ptr<HeldTableName> name = database_->held.value(key).lock();
    if (!name) {
        name = std::make_shared<HeldTableName>();
        name->sqlName = key;
        name->rowIdName = tables_.value(key).rowIdName;
        database_->held.insert(key, name);
    }
    QStringList columns;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql =
        QStringLiteral("SELECT * FROM main.%1 LIMIT 0;").arg(quotedIdentifier(key)).toUtf8();
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &statement, nullptr) == SQLITE_OK) {
        for (int column = 0; column < sqlite3_column_count(statement); ++column)
            columns << QString::fromUtf8(sqlite3_column_name(statement, column));
    }
    sqlite3_finalize(statement);
    return HeldTablePtr(new HeldTable(shared_from_this(), std::move(name), columns));
}

bool FolderStore::readHeldRecord(HeldTableName& name, int rowNumber, const RowVisitor& visit) {
    const Use use(*this);
    if (name.sqlName.isEmpty() || name.rowIdName.isEmpty())
        return false;
    if (!name.read) {
        const QByteArray sql = QStringLiteral("SELECT * FROM main.%1 WHERE %2 = ?1;")
                                   .arg(quotedIdentifier(name.sqlName), name.rowIdName)
                                   .toUtf8();
        if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &name.read, nullptr) != SQLITE_OK) {
            sqlite3_finalize(name.read);
            name.read = nullptr;
            return false;
        }
    }
    sqlite3_bind_int(name.read, 1, rowNumber);
    const bool found = sqlite3_step(name.read) == SQLITE_ROW;
    if (found)
        visit(RowReader(name.read, false));
    sqlite3_reset(name.read);
    return found;
}

void FolderStore::releaseHeld(std::shared_ptr<HeldTableName>& name) {
    const Use use(*this);
    // The read is shared by the handles of one table; the last one finalizes it.
    if (name.use_count() == 1) {
        sqlite3_finalize(name->read);
        name->read = nullptr;
    }
    name.reset();
}

HeldTable::HeldTable(std::shared_ptr<FolderStore> store, std::shared_ptr<HeldTableName> name,
                     QStringList columns)
    : store_(std::move(store)), name_(std::move(name)), columns_(std::move(columns)) {}

HeldTable::~HeldTable() {
    store_->releaseHeld(name_);
}

int HeldTable::columnIndex(const QString& name) const {
    for (int column = 0; column < columns_.size(); ++column) {
        if (columns_[column].compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

bool HeldTable::readRecord(int rowNumber, const RowVisitor& visit) const {
    return store_->readHeldRecord(*name_, rowNumber, visit);
}

bool FolderStore::refreshRowIdName(const QString& table, QString* rowId, QString* error) {
    bool reloaded = false;
    if (!refreshTable(table, &reloaded, error))
        return false;
    *rowId = tables_.value(table.toLower()).rowIdName;
    return true;
}

bool FolderStore::fillTemporaryTable(const char* createSql, const char* insertSql, int count,
                                     const std::function<void(sqlite3_stmt*, int)>& bind, QString* error) {
    if (!execute(QByteArray(createSql) + "BEGIN;", error))
        return false;
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, insertSql, -1, &insert, nullptr);
    const StatementPtr inserting(insert);
    for (int i = 0; i < count; ++i) {
        bind(insert, i);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    return execute("COMMIT;", error);
}

QString FolderStore::streamSelect(const QByteArray& sql, bool firstColumnIsRowNumber,
                                  const RowVisitor& visit) {
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &select, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(db_));
    const StatementPtr selecting(select);
    return stepRows(select, firstColumnIsRowNumber, everyRow(visit));
}

bool FolderStore::hasIndexLeadingWith(const QString& table, const QString& column) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(
            db_,
            "SELECT 1 FROM pragma_index_list(?1) AS list, pragma_index_info(list.name) AS info "
            "WHERE info.seqno = 0 AND info.name = ?2 COLLATE NOCASE LIMIT 1;",
            -1, &statement, nullptr) != SQLITE_OK)
        return false;
    const StatementPtr checking(statement);
    const QByteArray tableName = table.toUtf8();
    const QByteArray columnName = column.toUtf8();
    sqlite3_bind_text(statement, 1, tableName.constData(), int(tableName.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, columnName.constData(), int(columnName.size()), SQLITE_TRANSIENT);
    return sqlite3_step(statement) == SQLITE_ROW;
}

int FolderStore::recordCount(const QString& table, QString* error) {
    const Use use(*this);
    const SelectResult result = run(
        QStringLiteral("SELECT count(*) FROM %1;").arg(quotedIdentifier(table.toLower())).toUtf8(), false);
    if (error)
        *error = result.error;
    return result.ok() ? result.records.value(0).toInt() : -1;
}

void FolderStore::loadAhead(const QStringList& tables) {
    const Use use(*this);
    for (const QString& table : tables) {
        const QString key = table.toLower();
        const QString path = fileOfTable(table);
        if (path.isEmpty() || isCurrent(key, path))
            continue;
        const std::shared_ptr<TableLoadAhead> started = loadsAhead_.value(key);
        if (started && started->isOf(FileStamp::of(path), loadRules_))
            continue;
        if (started)
            started->cancel();
        loadsAhead_.insert(key, TableLoadAhead::start(key, path, loadRules_, database_));
    }
}

SelectResult FolderStore::run(const QByteArray& sql, bool firstColumnIsRowNumber) {
    QString error;
    const StatementPtr statement = prepareCurrent(sql, &error);
    return statement ? readRecords(statement.get(), firstColumnIsRowNumber) : failure(error);
}

StatementPtr FolderStore::prepareCurrent(const QByteArray& sql, QString* error) {
    for (int attempt = 0; attempt < kMaxPrepareAttempts; ++attempt) {
        GuardedSelect prepared = prepareGuardedSelect(db_, sql, tables_.keys());
        bool reloaded = false;
        if (!prepared.missingTable.isEmpty()) {
            if (tables_.contains(prepared.missingTable.toLower())) {
                *error = QStringLiteral("no such table: %1").arg(prepared.missingTable);
                return nullptr;
            }
            if (!refreshTable(prepared.missingTable, &reloaded, error))
                return nullptr;
            continue;
        }
        if (!prepared.error.isEmpty()) {
            *error = prepared.error;
            return nullptr;
        }

        bool schemaChanged = false;
        for (const QString& table : prepared.tablesRead) {
            if (!tables_.contains(table.toLower()))
                continue;
            if (!refreshTable(table, &reloaded, error))
                return nullptr;
            schemaChanged = schemaChanged || reloaded;
        }
        if (!schemaChanged)
            return std::move(prepared.statement);
    }
    *error = QStringLiteral("the statement names too many tables");
    return nullptr;
}

SelectResult FolderStore::readRecords(sqlite3_stmt* statement, bool firstColumnIsRowNumber) {
    SelectResult result;
    RecordSet& records = result.records;
    const int firstField = firstColumnIsRowNumber ? 1 : 0;
    const int columnCount = sqlite3_column_count(statement);
    QStringList names;
    QVector<QVariant> nullValues;
    for (int column = firstField; column < columnCount; ++column) {
        names << QString::fromUtf8(sqlite3_column_name(statement, column));
        nullValues << nullValueOf(statement, column);
    }
    records.setColumns(names);

    // Records that would fill the memory stop the select.
    qint64 resultBytes = 0;
    const QString error = stepRows(statement, firstColumnIsRowNumber, [&](const RowReader& reader) {
        if (firstColumnIsRowNumber)
            records.rowNumbers_.append(reader.rowNumber());
        QVector<QVariant> row;
        row.reserve(columnCount - firstField);
        resultBytes += kRowBytes;
        for (int column = firstField; column < columnCount; ++column) {
            row.append(valueOf(statement, column, nullValues[column - firstField]));
            resultBytes += bytesOf(row.constLast());
        }
        records.rows_.append(std::move(row));
        return resultBytes <= limits_.resultBytes;
    });
    if (resultBytes > limits_.resultBytes)
        return failure(QStringLiteral("the search found more records than %1 MB can hold and was stopped")
                           .arg(limits_.resultBytes >> 20));
    return error.isEmpty() ? result : failure(error);
}

QString FolderStore::stepRows(sqlite3_stmt* statement, bool firstColumnIsRowNumber, const RowTaker& take) {
    // A statement that runs away (tables joined to themselves, a LIKE that backtracks) is
    // stopped rather than holding the window.
    selectDeadline_.setRemainingTime(limits_.duration);
    sqlite3_progress_handler(db_, kProgressSteps, stopAtDeadline, &selectDeadline_);
    const RowReader reader(statement, firstColumnIsRowNumber);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW && take(reader)) {
    }
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    selectDeadline_ = QDeadlineTimer(QDeadlineTimer::Forever);
    if (rc == SQLITE_INTERRUPT)
        return QStringLiteral("the search took longer than %1 seconds and was stopped")
            .arg(seconds(limits_.duration));
    if (rc == SQLITE_NOMEM)
        return QStringLiteral("the search needed more than the %1 MB of memory that searches and tables may "
                              "take together and was stopped")
            .arg(sqliteMemoryCeiling() >> 20);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        return QString::fromUtf8(sqlite3_errmsg(db_));
    return QString();
}

bool FolderStore::execute(const QByteArray& sql, QString* error) {
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
    return false;
}

bool FolderStore::refreshTable(const QString& table, bool* reloaded, QString* error) {
    *reloaded = false;
    const QString key = table.toLower();
    // Looked up each time: another spelling of the file may have come or gone.
    const QString path = fileOfTable(table);
    const auto loaded = tables_.constFind(key);
    if (path.isEmpty()) {
        if (loaded != tables_.constEnd())
            forgetTable(key);
        *error = notFound(table);
        return false;
    }
    if (loaded != tables_.constEnd() && isCurrent(key, path))
        return true;
    *reloaded = true;
    return loadTable(key, path, error);
}

bool FolderStore::loadTable(const QString& key, const QString& path, QString* error) {
    std::shared_ptr<TableLoadAhead> ahead = loadsAhead_.take(key);
    FileStamp stamp;
    if (ahead && !readAheadIsCurrent(*ahead, path, &stamp)) {
        ahead->cancel();
        ahead.reset();
    }
    LoadedTable table;
    bool ok = false;
    if (ahead) {
        // No loading thread has begun it: reading here is quicker than waiting for one.
        if (ahead->claim())
            ahead->loadHere();
        else if (!ahead->isDone())
            waitFor(*ahead);
        ok = ahead->result(&table, error);
    } else {
        // Taken before the read: a change while it reads is seen by the next statement.
        stamp = FileStamp::of(path);
        setAsideHeldTable(*database_, key);
        ok = loadDbfTable(db_, key, path, loadRules_, &table, error);
    }
    if (!ok) {
        forgetTable(key);
        return false;
    }
    tables_.insert(key, TableFile{stamp, table.rowIdName, table.notes});
    return true;
}

void FolderStore::waitFor(TableLoadAhead& load) {
    const int depth = useDepth_;
    useDepth_ = 0;
    databaseLock_.unlock();
    load.waitUntilDone();
    databaseLock_.lock();
    useDepth_ = depth;
    adoptLoadedAhead();
}

void FolderStore::adoptLoadedAhead() {
    for (auto load = loadsAhead_.begin(); load != loadsAhead_.end();) {
        LoadedTable table;
        QString error;
        if (!(*load)->isInstalled() || !(*load)->result(&table, &error)) {
            ++load;
            continue;
        }
        FileStamp stamp;
        if (readAheadIsCurrent(**load, (*load)->path(), &stamp))
            tables_.insert(load.key(), TableFile{stamp, table.rowIdName, table.notes});
        else
            forgetTable(load.key());
        load = loadsAhead_.erase(load);
    }
}

bool FolderStore::readAheadIsCurrent(const TableLoadAhead& load, const QString& path, FileStamp* now) const {
    if (readAheadCheckHook())
        readAheadCheckHook()(path);
    *now = FileStamp::of(path);
    return load.isOf(*now, loadRules_);
}

bool FolderStore::isCurrent(const QString& key, const QString& path) const {
    const auto loaded = tables_.constFind(key);
    return loaded != tables_.constEnd() && loaded->file.path == path && loaded->file.isCurrent();
}

void FolderStore::forgetTable(const QString& key) {
    setAsideHeldTable(*database_, key);
    const QByteArray drop = QStringLiteral("DROP TABLE IF EXISTS %1").arg(quotedIdentifier(key)).toUtf8();
    sqlite3_exec(db_, drop.constData(), nullptr, nullptr, nullptr);
    tables_.remove(key);
}

QString FolderStore::fileOfTable(const QString& table) const {
    // The all-lower-case spelling wins whenever it is present, so one look at it spares
    // listing the whole folder, as every statement would otherwise do for each table it reads.
    const QString fileName = table + QStringLiteral(".dbf");
    const QString lowerCaseName = fileName.toLower();
    if (!fileName.contains('/') && lowerCaseName.compare(fileName, Qt::CaseInsensitive) == 0) {
        const QString lowerCase = QDir(folder_).filePath(lowerCaseName);
        if (QFileInfo(lowerCase).isReadable())
            return lowerCase;
    }
    const DataFileMatch match = matchDataFile(folder_, fileName);
    return match.found() && QFileInfo(match.path).isReadable() ? match.path : QString();
}

QString FolderStore::notFound(const QString& table) const {
    return QStringLiteral("table %1 not found in %2").arg(table, folder_);
}

void setReadAheadCheckHook(std::function<void(const QString& path)> hook) {
    readAheadCheckHook() = std::move(hook);
}

} // namespace tabledb
