// The dBASE pattern matcher against a plain reference: both must agree on every text and
// pattern, and a matcher told to stop must stop or give the reference's answer.
//
// Input: the first byte picks the escape character (0 or a byte above 0x7E: none), the rest is
// the text, a line feed, then the pattern.

#include "tabledb/dbase_like.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

/// Stands for a byte outside a well-formed character; one value per byte, above every character.
constexpr char32_t kLoneByte = 0x110000;
/// Texts and patterns longer than this are cut: the reference takes time proportional to the
/// product of their lengths.
constexpr size_t kLongest = 2000;

/// The characters of UTF-8 text: a lead byte with all its continuation bytes is one character,
/// any other byte stands alone.
std::vector<char32_t> decode(std::string_view text) {
    std::vector<char32_t> characters;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t more = lead < 0xC0 || lead >= 0xF8 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        bool whole = more > 0 && i + more < text.size();
        for (size_t k = 1; whole && k <= more; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (lead < 0x80) {
            characters.push_back(lead);
            ++i;
        } else if (!whole) {
            characters.push_back(kLoneByte + lead);
            ++i;
        } else {
            char32_t c = lead & (0x3F >> more);
            for (size_t k = 1; k <= more; ++k)
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            characters.push_back(c);
            i += more + 1;
        }
    }
    return characters;
}

enum class Kind { AnyRun, OneCharacter, OneDigit, Literal };
struct Element {
    Kind kind;
    char32_t literal;
};

std::vector<Element> elementsOf(const std::vector<char32_t>& pattern, char32_t escape) {
    std::vector<Element> elements;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (escape != 0 && c == escape && i + 1 < pattern.size())
            elements.push_back({Kind::Literal, pattern[++i]});
        else if (c == escape && escape != 0)
            elements.push_back({Kind::Literal, c});
        else if (c == U'*')
            elements.push_back({Kind::AnyRun, 0});
        else if (c == U'?')
            elements.push_back({Kind::OneCharacter, 0});
        else if (c == U'#')
            elements.push_back({Kind::OneDigit, 0});
        else
            elements.push_back({Kind::Literal, c});
    }
    return elements;
}

char32_t folded(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

/// matches[i][j]: text from i matches pattern elements from j.
bool referenceMatches(std::string_view text, std::string_view pattern, char32_t escape) {
    const std::vector<char32_t> t = decode(text);
    const std::vector<Element> p = elementsOf(decode(pattern), escape);
    std::vector<std::vector<bool>> matches(t.size() + 1, std::vector<bool>(p.size() + 1, false));
    matches[t.size()][p.size()] = true;
    for (size_t i = t.size() + 1; i-- > 0;) {
        for (size_t j = p.size(); j-- > 0;) {
            const Element& e = p[j];
            if (e.kind == Kind::AnyRun) {
                matches[i][j] = matches[i][j + 1] || (i < t.size() && matches[i + 1][j]);
                continue;
            }
            if (i == t.size())
                continue;
            const bool accepts = e.kind == Kind::OneCharacter ||
                                 (e.kind == Kind::OneDigit && t[i] >= U'0' && t[i] <= U'9') ||
                                 (e.kind == Kind::Literal && folded(e.literal) == folded(t[i]));
            matches[i][j] = accepts && matches[i + 1][j + 1];
        }
    }
    return matches[0][0];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const char32_t escape = data[0] <= 0x7E ? data[0] : 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\n');
    const std::string_view text = rest.substr(0, split).substr(0, kLongest);
    const std::string_view pattern =
        split == std::string_view::npos ? std::string_view() : rest.substr(split + 1).substr(0, kLongest);

    const bool expected = referenceMatches(text, pattern, escape);
    if (tabledb::dbaseLikeMatches(text, pattern, escape) != expected) {
        std::fprintf(stderr, "matcher and reference disagree (reference: %d)\n", int(expected));
        std::abort();
    }
    const tabledb::LikeOutcome stopped = tabledb::dbaseLike(text, pattern, escape, [] { return true; });
    if (stopped != tabledb::LikeOutcome::Stopped && (stopped == tabledb::LikeOutcome::Match) != expected) {
        std::fprintf(stderr, "a matcher told to stop gave a wrong answer\n");
        std::abort();
    }
    return 0;
}
