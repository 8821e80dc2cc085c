#include "tabledb/select_guard.h"

#include <sqlite3.h>

#include <cstring>

namespace tabledb {

void StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

namespace {

const QString kRefusal = QStringLiteral("only a single read-only SELECT statement is accepted");
const QByteArray kNoSuchTable = QByteArrayLiteral("no such table: ");
const QByteArray kMainSchemaPrefix = QByteArrayLiteral("main.");

/// What the authorizer saw while one statement was prepared.
struct AuthorizerLog {
    QStringList tablesRead;
    bool refused = false;
};

/// Accepts only what a select is made of; records the tables read along the way.
int authorizeSelectOnly(void* context, int action, const char* tableOrName, const char* /*column*/,
                        const char* schema, const char* /*trigger*/) {
    auto* log = static_cast<AuthorizerLog*>(context);
    switch (action) {
    case SQLITE_READ:
        if (tableOrName && schema && std::strcmp(schema, "main") == 0) {
            const QString table = QString::fromUtf8(tableOrName);
            if (!log->tablesRead.contains(table, Qt::CaseInsensitive))
                log->tablesRead.append(table);
        }
        return SQLITE_OK;
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
        return SQLITE_OK;
    default:
        log->refused = true;
        return SQLITE_DENY;
    }
}

bool isBlankTail(const char* tail, const char* end) {
    for (const char* c = tail; c < end; ++c) {
        if (*c != ';' && *c != ' ' && *c != '\t' && *c != '\r' && *c != '\n' && *c != '\f' && *c != '\v')
            return false;
    }
    return true;
}

/// The table named by a "no such table" error, without a "main." qualifier; empty for
/// every other error.
QString missingTableOf(const QByteArray& message) {
    if (!message.startsWith(kNoSuchTable))
        return QString();
    QByteArray name = message.mid(kNoSuchTable.size());
    if (name.startsWith(kMainSchemaPrefix))
        name = name.mid(kMainSchemaPrefix.size());
    return QString::fromUtf8(name);
}

} // namespace

GuardedSelect prepareGuardedSelect(sqlite3* db, const QByteArray& sql) {
    GuardedSelect result;
    AuthorizerLog log;
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    sqlite3_set_authorizer(db, authorizeSelectOnly, &log);
    const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, &tail);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    result.statement.reset(statement);

    if (rc != SQLITE_OK) {
        const QByteArray message = sqlite3_errmsg(db);
        result.missingTable = missingTableOf(message);
        if (result.missingTable.isEmpty())
            result.error = log.refused ? kRefusal : QString::fromUtf8(message);
        result.statement.reset();
        return result;
    }
    if (!result.statement)
        result.error = QStringLiteral("the statement is empty");
    else if (!isBlankTail(tail, sql.constData() + sql.size()))
        result.error = QStringLiteral("only one statement is accepted; text follows it: %1")
                           .arg(QString::fromUtf8(tail).trimmed());
    else if (!sqlite3_stmt_readonly(result.statement.get()))
        result.error = kRefusal;
    if (!result.error.isEmpty()) {
        result.statement.reset();
        return result;
    }
    result.tablesRead = log.tablesRead;
    return result;
}

} // namespace tabledb
