#include "tabledb/memory_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace tabledb {

namespace {

std::atomic<sqlite3_int64> bytesHeld{0};
std::atomic<sqlite3_int64> ceiling{sqlite3_int64(2) << 30};
/// SQLite's own allocator, which ours passes every call on to.
sqlite3_mem_methods sqliteAllocator;
/// Whether our allocator is SQLite's; else the ceiling is SQLite's own heap limit.
bool ceilingIsOurs = false;

/// Counts `bytes` as held when they fit under the ceiling.
bool reserve(sqlite3_int64 bytes) {
    const sqlite3_int64 before = bytesHeld.fetch_add(bytes, std::memory_order_relaxed);
    if (before + bytes <= ceiling.load(std::memory_order_relaxed))
        return true;
    bytesHeld.fetch_sub(bytes, std::memory_order_relaxed);
    return false;
}

void adjustHeld(sqlite3_int64 bytes) {
    bytesHeld.fetch_add(bytes, std::memory_order_relaxed);
}

// The counter holds the sizes the allocator reports for its blocks (xSize), which is what a
// block gives back when it is freed; a request is checked at its rounded size beforehand.
void* allocate(int bytes) {
    const sqlite3_int64 wanted = sqliteAllocator.xRoundup(bytes);
    if (!reserve(wanted))
        return nullptr;
    void* block = sqliteAllocator.xMalloc(bytes);
    adjustHeld(block ? sqliteAllocator.xSize(block) - wanted : -wanted);
    return block;
}

void release(void* block) {
    adjustHeld(-sqlite3_int64(sqliteAllocator.xSize(block)));
    sqliteAllocator.xFree(block);
}

void* reallocate(void* block, int bytes) {
    const sqlite3_int64 before = sqliteAllocator.xSize(block);
    const sqlite3_int64 growth = std::max<sqlite3_int64>(sqliteAllocator.xRoundup(bytes) - before, 0);
    if (!reserve(growth))
        return nullptr;
    void* moved = sqliteAllocator.xRealloc(block, bytes);
    adjustHeld(moved ? sqliteAllocator.xSize(moved) - before - growth : -growth);
    return moved;
}

void applyCeiling() {
    if (!ceilingIsOurs)
        sqlite3_hard_heap_limit64(ceiling.load(std::memory_order_relaxed));
}

} // namespace

void prepareSqliteMemory() {
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        // SQLite keeps a copy of the methods; both calls are refused once SQLite has started.
        if (sqlite3_config(SQLITE_CONFIG_GETMALLOC, &sqliteAllocator) == SQLITE_OK) {
            sqlite3_mem_methods counted = sqliteAllocator;
            counted.xMalloc = allocate;
            counted.xFree = release;
            counted.xRealloc = reallocate;
            ceilingIsOurs = sqlite3_config(SQLITE_CONFIG_MALLOC, &counted) == SQLITE_OK;
        }
        if (ceilingIsOurs)
            sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        applyCeiling();
    });
}

qint64 sqliteMemoryCeiling() {
    return ceiling.load(std::memory_order_relaxed);
}

void setSqliteMemoryCeiling(qint64 bytes) {
    prepareSqliteMemory();
    ceiling.store(bytes, std::memory_order_relaxed);
    applyCeiling();
}

int openMemoryDatabase(sqlite3** db) {
    prepareSqliteMemory();
    return sqlite3_open_v2(":memory:", db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
}

} // namespace tabledb
