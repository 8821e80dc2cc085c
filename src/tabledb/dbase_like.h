#pragma once

#include <string_view>

struct sqlite3;

namespace tabledb {

/// Pattern matching in the dBASE manner: "*" matches any run of characters, "?" one
/// character, "#" one decimal digit; every other character matches itself, ignoring the
/// case of ASCII letters. `escape` (0 for none) makes the pattern character after it literal.
/// Text and pattern are UTF-8; "?" consumes one whole character.
bool dbaseLikeMatches(std::string_view text, std::string_view pattern, char32_t escape = 0);

/// Replaces the LIKE operator of the connection (both "x LIKE p" and "x LIKE p ESCAPE e")
/// with dbaseLikeMatches. Returns the SQLite result code.
int registerDbaseLike(sqlite3* db);

} // namespace tabledb
