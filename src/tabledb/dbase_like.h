#pragma once

#include <functional>
#include <string_view>

struct sqlite3;

class QDeadlineTimer;

namespace tabledb {

/// How a pattern match ended.
enum class LikeOutcome { NoMatch, Match, Stopped };

/// Pattern matching in the dBASE manner: "*" matches any run of characters, "?" one
/// character, "#" one decimal digit; every other character matches itself, ignoring the
/// case of ASCII letters. `escape` (0 for none) makes the pattern character after it literal;
/// an escape that ends the pattern stands for itself.
/// Text and pattern are UTF-8; "?" consumes one whole character, and a byte that does not
/// belong to a well-formed character is a character of its own, equal only to that byte.
/// The work is at most proportional to the product of the two lengths; `shouldStop`, when
/// given, is asked every few thousand steps and ends the match with Stopped when it says so.
LikeOutcome dbaseLike(std::string_view text, std::string_view pattern, char32_t escape = 0,
                      const std::function<bool()>& shouldStop = {});

/// dbaseLike run to its end: whether the text matches the pattern.
bool dbaseLikeMatches(std::string_view text, std::string_view pattern, char32_t escape = 0);

/// Replaces the LIKE operator of the connection (both "x LIKE p" and "x LIKE p ESCAPE e")
/// with dbaseLike. A match still running when `deadline` (which must outlive the connection)
/// has expired fails the statement with SQLITE_INTERRUPT. Returns the SQLite result code.
int registerDbaseLike(sqlite3* db, const QDeadlineTimer* deadline);

} // namespace tabledb
