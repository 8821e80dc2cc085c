#include "tabledb/memory_database.h"

#include <sqlite3.h>

#include <mutex>

namespace tabledb {

int openMemoryDatabase(sqlite3** db) {
    static std::once_flag configured;
    // Refused (and harmless) if something in the process started SQLite before.
    std::call_once(configured, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
    return sqlite3_open_v2(":memory:", db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
}

} // namespace tabledb
