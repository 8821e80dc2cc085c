#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tabledb {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const;
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

/// The outcome of preparing caller-supplied select text.
struct GuardedSelect {
    StatementPtr statement; ///< set when the text is one read-only SELECT
    QStringList tablesRead; ///< tables of the main schema the statement reads
    QString missingTable;   ///< set when preparing failed only because this table is absent
    QString error;          ///< any other refusal or SQLite error
};

/// Prepares `sql` (UTF-8) so that it can do nothing but read: exactly one statement beginning
/// with SELECT (a trailing ";" and white space are allowed after it, nothing else), read-only,
/// not EXPLAIN, and made only of selects, reads of the tables named in `knownTables` and calls
/// of the few functions a search needs (LIKE's and count). Writing, ATTACH, PRAGMA, REINDEX,
/// transactions, schema changes and every other function are refused while the statement is
/// prepared, before anything runs; the error then names what was refused.
GuardedSelect prepareGuardedSelect(sqlite3* db, const QByteArray& sql, const QStringList& knownTables);

} // namespace tabledb
