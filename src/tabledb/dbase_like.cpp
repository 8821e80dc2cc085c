#include "tabledb/dbase_like.h"

#include <sqlite3.h>

namespace tabledb {

namespace {

constexpr char32_t kAnyRun = U'*';
constexpr char32_t kOneCharacter = U'?';
constexpr char32_t kOneDigit = U'#';

/// A forward reader of UTF-8 characters; malformed bytes read as themselves, one at a time.
class Utf8Reader {
public:
    explicit Utf8Reader(std::string_view text) : text_(text) {}

    bool atEnd() const { return position_ >= text_.size(); }
    size_t position() const { return position_; }
    void seek(size_t position) { position_ = position; }

    char32_t next() {
        const auto lead = static_cast<unsigned char>(text_[position_++]);
        const int continuationBytes = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t character = continuationBytes == 0 ? lead : lead & (0x3F >> continuationBytes);
        for (int i = 0; i < continuationBytes && !atEnd(); ++i) {
            const auto byte = static_cast<unsigned char>(text_[position_]);
            if ((byte & 0xC0) != 0x80)
                break;
            character = (character << 6) | (byte & 0x3F);
            ++position_;
        }
        return character;
    }

private:
    std::string_view text_;
    size_t position_ = 0;
};

char32_t foldCase(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

/// Whether the pattern element starting at `pattern`'s position accepts `character`;
/// advances `pattern` past the element.
bool elementAccepts(Utf8Reader& pattern, char32_t character, char32_t escape) {
    char32_t element = pattern.next();
    if (escape != 0 && element == escape && !pattern.atEnd())
        return foldCase(pattern.next()) == foldCase(character);
    if (element == kOneCharacter)
        return true;
    if (element == kOneDigit)
        return isDigit(character);
    return foldCase(element) == foldCase(character);
}

bool isAnyRun(Utf8Reader pattern, char32_t escape) {
    const char32_t element = pattern.next();
    return element == kAnyRun && element != escape;
}

} // namespace

bool dbaseLikeMatches(std::string_view text, std::string_view pattern, char32_t escape) {
    // Greedy matching with one backtrack point: the most recent "*" and the text position
    // it was tried at. Each later mismatch lets that "*" swallow one more character.
    Utf8Reader textReader(text);
    Utf8Reader patternReader(pattern);
    bool haveAnyRun = false;
    size_t patternAfterAnyRun = 0;
    size_t textAtAnyRun = 0;

    while (!textReader.atEnd()) {
        if (!patternReader.atEnd() && isAnyRun(patternReader, escape)) {
            patternReader.next();
            haveAnyRun = true;
            patternAfterAnyRun = patternReader.position();
            textAtAnyRun = textReader.position();
            continue;
        }
        if (!patternReader.atEnd() && elementAccepts(patternReader, textReader.next(), escape))
            continue;
        if (!haveAnyRun)
            return false;
        textReader.seek(textAtAnyRun);
        textReader.next();
        textAtAnyRun = textReader.position();
        patternReader.seek(patternAfterAnyRun);
    }
    while (!patternReader.atEnd() && isAnyRun(patternReader, escape))
        patternReader.next();
    return patternReader.atEnd();
}

namespace {

std::string_view textOf(sqlite3_value* value) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return std::string_view(bytes, size_t(sqlite3_value_bytes(value)));
}

/// like(pattern, text) and like(pattern, text, escape), as SQLite calls them for LIKE.
void likeFunction(sqlite3_context* context, int argumentCount, sqlite3_value** arguments) {
    for (int i = 0; i < argumentCount; ++i) {
        if (sqlite3_value_type(arguments[i]) == SQLITE_NULL)
            return sqlite3_result_null(context);
    }
    char32_t escape = 0;
    if (argumentCount == 3) {
        Utf8Reader escapeReader(textOf(arguments[2]));
        if (!escapeReader.atEnd())
            escape = escapeReader.next();
        if (escape == 0 || !escapeReader.atEnd())
            return sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
    }
    const std::string_view pattern = textOf(arguments[0]);
    const std::string_view text = textOf(arguments[1]);
    sqlite3_result_int(context, dbaseLikeMatches(text, pattern, escape) ? 1 : 0);
}

} // namespace

int registerDbaseLike(sqlite3* db) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc =
        sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr,
                                        nullptr);
    return rc;
}

} // namespace tabledb
