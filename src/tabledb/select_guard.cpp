#include "tabledb/select_guard.h"

#include <sqlite3.h>

#include <cctype>

namespace tabledb {

void StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

namespace {

const QString kRefusal = QStringLiteral("only a single read-only SELECT statement is accepted");
const QByteArray kNoSuchTable = QByteArrayLiteral("no such table: ");
const QByteArray kMainSchemaPrefix = QByteArrayLiteral("main.");
const QByteArray kSelectKeyword = QByteArrayLiteral("SELECT");

/// The only functions a search calls: LIKE's own function, and count for a table's size.
/// Every other built-in (blob makers, tokenizer hooks, extension loaders...) is refused.
const QStringList kAllowedFunctions = {QStringLiteral("like"), QStringLiteral("count")};

/// What the authorizer saw while one statement was prepared.
struct AuthorizerLog {
    const QStringList* knownTables = nullptr;
    QStringList tablesRead;
    bool sawSelect = false;
    QString refusal; ///< why the statement was refused; empty while nothing was
};

int refuse(AuthorizerLog* log, const QString& reason) {
    if (log->refusal.isEmpty())
        log->refusal = reason;
    return SQLITE_DENY;
}

/// Accepts only what a select is made of: selects, reads of the folder's tables and calls of
/// the allowed functions; records the tables read along the way.
int authorizeSelectOnly(void* context, int action, const char* tableOrNothing, const char* columnOrFunction,
                        const char* /*schema*/, const char* /*trigger*/) {
    auto* log = static_cast<AuthorizerLog*>(context);
    switch (action) {
    case SQLITE_READ: {
        const QString table = QString::fromUtf8(tableOrNothing);
        if (!log->knownTables->contains(table, Qt::CaseInsensitive))
            return refuse(log, QStringLiteral("%1 is not a table of the folder").arg(table));
        if (!log->tablesRead.contains(table, Qt::CaseInsensitive))
            log->tablesRead.append(table);
        return SQLITE_OK;
    }
    case SQLITE_SELECT:
        log->sawSelect = true;
        return SQLITE_OK;
    case SQLITE_FUNCTION: {
        const QString function = QString::fromUtf8(columnOrFunction);
        if (kAllowedFunctions.contains(function, Qt::CaseInsensitive))
            return SQLITE_OK;
        return refuse(log, QStringLiteral("the function %1 is not available in a search").arg(function));
    }
    default:
        return refuse(log, kRefusal);
    }
}

/// Whether the text begins with the keyword SELECT, after white space only.
bool startsWithSelect(const QByteArray& sql) {
    const QByteArray text = sql.trimmed();
    if (!text.left(kSelectKeyword.size()).toUpper().startsWith(kSelectKeyword))
        return false;
    if (text.size() == kSelectKeyword.size())
        return true;
    const char after = text[kSelectKeyword.size()];
    return !(std::isalnum(static_cast<unsigned char>(after)) || after == '_' || after == '$' ||
             static_cast<unsigned char>(after) >= 0x80);
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

GuardedSelect prepareGuardedSelect(sqlite3* db, const QByteArray& sql, const QStringList& knownTables) {
    GuardedSelect result;
    if (!startsWithSelect(sql)) {
        result.error = kRefusal;
        return result;
    }
    AuthorizerLog log;
    log.knownTables = &knownTables;
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
            result.error = log.refusal.isEmpty() ? QString::fromUtf8(message) : log.refusal;
        result.statement.reset();
        return result;
    }
    if (!result.statement)
        result.error = QStringLiteral("the statement is empty");
    else if (!isBlankTail(tail, sql.constData() + sql.size()))
        result.error = QStringLiteral("only one statement is accepted; text follows it: %1")
                           .arg(QString::fromUtf8(tail).trimmed());
    else if (!log.sawSelect || !sqlite3_stmt_readonly(result.statement.get()) ||
             sqlite3_stmt_isexplain(result.statement.get()) != 0)
        result.error = kRefusal;
    if (!result.error.isEmpty()) {
        result.statement.reset();
        return result;
    }
    result.tablesRead = log.tablesRead;
    return result;
}

} // namespace tabledb
