#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace tabledb {

/// What loading a table learnt about it.
struct LoadedTable {
    QStringList columns;
    /// The name that selects a record's number (rowid, _rowid_ or oid, the first that no
    /// field of the file is called); empty when the fields take all three.
    QString rowIdName;
    /// Faults of the file that the load worked round, each naming the field and what was done.
    QStringList notes;
    /// Whether the records were read straight from the file's bytes rather than through OGR.
    bool readDirectly = false;
};

/// What the program asks of every table it loads, by field name (lower case): character fields
/// it compares as numbers, and fields it looks records up by, which get an index.
struct TableLoadRules {
    QSet<QString> numericFields;
    QSet<QString> indexedFields;

    bool operator==(const TableLoadRules& other) const {
        return numericFields == other.numericFields && indexedFields == other.indexedFields;
    }
};

/// How a table's records are read: straight from the file's bytes where the file and its values
/// are of the plain forms that reading understands (OGR reads the rest), or all through OGR.
/// Both give the same table.
enum class RecordReading { DirectWherePlain, ThroughOgr };

/// Reads the dBASE file at `path` as OGR (read-only) reads it into the table `table` of `db`,
/// replacing a table of that name, in one transaction. The SQLite rowid of each record is its
/// record number in the file (0-based), never written into a field of the file. Column types
/// follow the dBASE field types: numbers without decimals INTEGER, other numbers REAL,
/// characters TEXT COLLATE NOCASE, dates TEXT in the form M/D/YYYY; empty values are NULL.
/// A character field named in the rules' numeric fields is kept as REAL: its texts that are
/// numbers become those numbers, other texts NULL, and a note says so. A field named in the
/// rules' indexed fields gets an index. Of fields whose names differ only in case the first
/// is read, and a note names each one left out. A file without fields is refused. On failure
/// nothing changes in `db` and `error` names the problem and the file.
bool loadDbfTable(sqlite3* db, const QString& table, const QString& path, const TableLoadRules& rules,
                  LoadedTable* loaded, QString* error,
                  RecordReading reading = RecordReading::DirectWherePlain);

/// The first of rowid, _rowid_ and oid that none of `columns` is called (case-insensitive);
/// empty when they take all three.
QString freeRowIdName(const QStringList& columns);

/// `name` as an SQL identifier in double quotes.
QString quotedIdentifier(const QString& name);

/// Runs one or more statements on `db`; on failure sets `error` to SQLite's message.
bool execute(sqlite3* db, const QString& sql, QString* error);

} // namespace tabledb
