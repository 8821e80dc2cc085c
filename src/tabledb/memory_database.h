#pragma once

struct sqlite3;

namespace tabledb {

/// Opens a new, empty in-memory SQLite database into `db` and returns SQLite's result code, as
/// sqlite3_open_v2 does. The connection takes no lock of its own: the engine uses each one from
/// one thread at a time (a store's under the store's lock, a loading thread's only there), and
/// a lock per call would cost more than reading a value. The first call also turns off SQLite's
/// memory statistics, whose one lock every allocation of every thread would otherwise take.
int openMemoryDatabase(sqlite3** db);

} // namespace tabledb
