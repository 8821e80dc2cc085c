#pragma once

struct sqlite3;

namespace tabledb {

/// Opens a new, empty in-memory SQLite database into `db` and returns SQLite's result code, as
/// sqlite3_open_v2 does. The first call sets SQLite up for the engine's threads: without its
/// memory statistics, whose one lock every allocation of every thread would otherwise take.
int openMemoryDatabase(sqlite3** db);

} // namespace tabledb
