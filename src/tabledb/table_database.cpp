#include "tabledb/table_database.h"

#include "tabledb/folder_store.h"
#include "tabledb/gdal_access.h"
#include "tabledb/memory_database.h"

#include <QDir>
#include <QFileInfo>

namespace tabledb {

namespace {

SelectResult closedDatabase() {
    SelectResult result;
    result.error = QStringLiteral("the database is not open");
    return result;
}

} // namespace

QString Database::folder() const {
    return store_ ? store_->folder() : QString();
}

SelectResult Database::select(const QString& sql) const {
    return store_ ? store_->select(sql) : closedDatabase();
}

SelectResult Database::selectRecords(const QString& table, const QString& whereExpression) const {
    return store_ ? store_->selectRecords(table, whereExpression) : closedDatabase();
}

QString Database::stream(const QString& sql, const RowVisitor& visit) const {
    return store_ ? store_->stream(sql, visit) : closedDatabase().error;
}

QString Database::streamRecords(const QString& table, const QString& whereExpression,
                                const RowVisitor& visit) const {
    return store_ ? store_->streamRecords(table, whereExpression, visit) : closedDatabase().error;
}

QString Database::streamRecordNumbersByKeys(const QString& table, const QString& keyColumn,
                                            const QStringList& keys, const RowVisitor& visit,
                                            HeldTablePtr* held) const {
    return store_ ? store_->streamRecordNumbersByKeys(table, keyColumn, keys, visit, held)
                  : closedDatabase().error;
}

QString Database::streamRecordNumbersAt(const QString& table, const QVector<int>& rowNumbers,
                                        const RowVisitor& visit, HeldTablePtr* held) const {
    return store_ ? store_->streamRecordNumbersAt(table, rowNumbers, visit, held) : closedDatabase().error;
}

QString Database::streamRecordNumbers(const QString& table, const QString& whereExpression,
                                      const RowVisitor& visit, HeldTablePtr* held) const {
    return store_ ? store_->streamRecordNumbers(table, whereExpression, visit, held) : closedDatabase().error;
}

QString Database::streamRecordNumbersWhere(const QString& table, const QString& expression,
                                           const RowVisitor& visit, HeldTablePtr* held) const {
    return store_ ? store_->streamRecordNumbersWhere(table, expression, visit, held) : closedDatabase().error;
}

bool Database::walksWholeIndex(const QString& select, const QString& table, const QString& column) const {
    return store_ && store_->walksWholeIndex(select, table, column);
}

QString Database::tableFile(const QString& table) const {
    return store_ ? store_->fileOfTable(table) : QString();
}

int Database::recordCount(const QString& table, QString* error) const {
    if (store_)
        return store_->recordCount(table, error);
    if (error)
        *error = closedDatabase().error;
    return -1;
}

QStringList Database::notesOf(const QString& table) const {
    return store_ ? store_->notesOf(table) : QStringList();
}

void Database::loadAhead(const QStringList& tables) const {
    if (store_)
        store_->loadAhead(tables);
}

void prepareEngine() {
    prepareSqliteMemory();
    prepareGdal();
}

Engine::Engine() {
    prepareEngine();
}

Engine::~Engine() = default;

Database Engine::open(const QString& folder, QString* error) {
    // The folder as given is looked up first: opening again costs one hash lookup.
    if (const auto known = stores_.constFind(folder); known != stores_.constEnd())
        return Database(known.value());
    const QFileInfo info(folder);
    if (!info.isDir()) {
        if (error)
            *error = QStringLiteral("folder %1 does not exist").arg(folder);
        return Database();
    }
    // Other spellings of a folder already open share its store.
    const QString canonical = info.canonicalFilePath();
    std::shared_ptr<FolderStore> store = stores_.value(canonical);
    if (!store) {
        store = std::make_shared<FolderStore>(canonical);
        store->setLimits(limits_);
        store->setLoadRules(loadRules_);
        stores_.insert(canonical, store);
    }
    stores_.insert(folder, store);
    return Database(store);
}

void Engine::setSelectLimits(const SelectLimits& limits) {
    limits_ = limits;
    for (const std::shared_ptr<FolderStore>& store : std::as_const(stores_))
        store->setLimits(limits);
}

namespace {

QSet<QString> lowerCaseSet(const QStringList& names) {
    QSet<QString> set;
    for (const QString& name : names)
        set.insert(name.toLower());
    return set;
}

} // namespace

void Engine::setNumericFields(const QStringList& names) {
    loadRules_.numericFields = lowerCaseSet(names);
    for (const std::shared_ptr<FolderStore>& store : std::as_const(stores_))
        store->setLoadRules(loadRules_);
}

void Engine::setIndexedFields(const QStringList& names) {
    loadRules_.indexedFields = lowerCaseSet(names);
    for (const std::shared_ptr<FolderStore>& store : std::as_const(stores_))
        store->setLoadRules(loadRules_);
}

void Engine::setMemoryCeiling(qint64 bytes) {
    setSqliteMemoryCeiling(bytes);
}

Engine& Engine::instance() {
    static Engine engine;
    return engine;
}

} // namespace tabledb
