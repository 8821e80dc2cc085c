#pragma once

#include <QtGlobal>

struct sqlite3;

namespace tabledb {

/// Puts SQLite's memory, in every connection and thread of the process together, under a
/// ceiling: an allocation beyond it fails, and the statement that asked for it with "out of
/// memory", instead of taking the program's memory. The ceiling is kept by a counter of our
/// own round SQLite's allocator, without a lock; SQLite's memory statistics, whose one lock
/// every allocation of every thread would otherwise take, are turned off. Once per process;
/// SQLite's settings take no lock, so the first call is made before SQLite is first used (see
/// prepareEngine). Were SQLite started before, the statistics stay on and keep the ceiling.
void prepareSqliteMemory();

/// The ceiling of prepareSqliteMemory, in bytes; 2 GiB unless set.
qint64 sqliteMemoryCeiling();
void setSqliteMemoryCeiling(qint64 bytes);

/// Opens a new, empty in-memory SQLite database into `db` and returns SQLite's result code, as
/// sqlite3_open_v2 does. The connection takes no lock of its own: the engine uses each one from
/// one thread at a time (a store's under the store's lock, a loading thread's only there), and
/// a lock per call would cost more than reading a value.
int openMemoryDatabase(sqlite3** db);

} // namespace tabledb
