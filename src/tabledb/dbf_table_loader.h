#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace tabledb {

/// Reads the dBASE file at `path` through OGR (read-only) into the table `table` of `db`,
/// replacing a table of that name, in one transaction. The SQLite rowid of each record is its
/// record number in the file (0-based). Column types follow the dBASE field types: numbers
/// without decimals INTEGER, other numbers REAL, characters TEXT COLLATE NOCASE, dates TEXT in
/// the form M/D/YYYY; empty values are NULL. A "grid_code" column gets an index.
/// On failure nothing changes in `db` and `error` names the problem.
bool loadDbfTable(sqlite3* db, const QString& table, const QString& path, QStringList* columns,
                  QString* error);

/// `name` as an SQL identifier in double quotes.
QString quotedIdentifier(const QString& name);

} // namespace tabledb
