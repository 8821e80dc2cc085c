#include "tabledb/dbase_like.h"

#include <QDeadlineTimer>

#include <sqlite3.h>

namespace tabledb {

namespace {

constexpr char32_t kAnyRun = U'*';
constexpr char32_t kOneCharacter = U'?';
constexpr char32_t kOneDigit = U'#';
/// Steps of the matcher between two questions whether to stop: a few microseconds of work.
constexpr unsigned kStepsBetweenStopChecks = 4096;

/// Stands for a byte that is not part of a well-formed character: above every character, and
/// one value per byte.
constexpr char32_t kLoneByte = 0x110000;

/// A forward reader of UTF-8 characters. A lead byte followed by all its continuation bytes
/// is one character; any other byte reads as kLoneByte + its value, one at a time.
class Utf8Reader {
public:
    explicit Utf8Reader(std::string_view text) : text_(text) {}

    bool atEnd() const { return position_ >= text_.size(); }
    size_t position() const { return position_; }
    void seek(size_t position) { position_ = position; }

    char32_t next() {
        const auto lead = static_cast<unsigned char>(text_[position_++]);
        if (lead < 0x80)
            return lead;
        const size_t continuationBytes = lead >= 0xF8   ? 0
                                         : lead >= 0xF0 ? 3
                                         : lead >= 0xE0 ? 2
                                         : lead >= 0xC0 ? 1
                                                        : 0;
        if (continuationBytes == 0 || text_.size() - position_ < continuationBytes)
            return kLoneByte + lead;
        char32_t character = lead & (0x3F >> continuationBytes);
        for (size_t i = 0; i < continuationBytes; ++i) {
            const auto byte = static_cast<unsigned char>(text_[position_ + i]);
            if ((byte & 0xC0) != 0x80)
                return kLoneByte + lead;
            character = (character << 6) | (byte & 0x3F);
        }
        position_ += continuationBytes;
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
    // The character after the escape is literal; an escape that ends the pattern stands for itself.
    if (escape != 0 && element == escape) {
        if (!pattern.atEnd())
            element = pattern.next();
        return foldCase(element) == foldCase(character);
    }
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

LikeOutcome dbaseLike(std::string_view text, std::string_view pattern, char32_t escape,
                      const std::function<bool()>& shouldStop) {
    // Greedy matching with one backtrack point: the most recent "*" and the text position
    // it was tried at. Each later mismatch lets that "*" swallow one more character, so a
    // pass over the rest of the pattern is repeated at most once per character of the text.
    Utf8Reader textReader(text);
    Utf8Reader patternReader(pattern);
    bool haveAnyRun = false;
    size_t patternAfterAnyRun = 0;
    size_t textAtAnyRun = 0;
    unsigned steps = 0;

    while (!textReader.atEnd()) {
        if (++steps % kStepsBetweenStopChecks == 0 && shouldStop && shouldStop())
            return LikeOutcome::Stopped;
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
            return LikeOutcome::NoMatch;
        textReader.seek(textAtAnyRun);
        textReader.next();
        textAtAnyRun = textReader.position();
        patternReader.seek(patternAfterAnyRun);
    }
    while (!patternReader.atEnd() && isAnyRun(patternReader, escape))
        patternReader.next();
    return patternReader.atEnd() ? LikeOutcome::Match : LikeOutcome::NoMatch;
}

bool dbaseLikeMatches(std::string_view text, std::string_view pattern, char32_t escape) {
    return dbaseLike(text, pattern, escape) == LikeOutcome::Match;
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
    const auto* deadline = static_cast<const QDeadlineTimer*>(sqlite3_user_data(context));
    switch (dbaseLike(text, pattern, escape, [deadline] { return deadline->hasExpired(); })) {
    case LikeOutcome::Match:
        return sqlite3_result_int(context, 1);
    case LikeOutcome::NoMatch:
        return sqlite3_result_int(context, 0);
    case LikeOutcome::Stopped:
        return sqlite3_result_error_code(context, SQLITE_INTERRUPT);
    }
}

} // namespace

int registerDbaseLike(sqlite3* db, const QDeadlineTimer* deadline) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    auto* clock = const_cast<QDeadlineTimer*>(deadline);
    int rc = sqlite3_create_function_v2(db, "like", 2, flags, clock, likeFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 3, flags, clock, likeFunction, nullptr, nullptr, nullptr);
    return rc;
}

} // namespace tabledb
