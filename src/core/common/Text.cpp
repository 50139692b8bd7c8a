#include "common/Text.h"

#include <algorithm>

#include "common/CaseFoldingTable.h"

namespace scorewell {

namespace {

// Code points of the bytes 0x80 to 0x9F; the five bytes the code page leaves undefined keep their
// C1 control character.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

// One decoded character: its code point and the bytes it covers. An invalid sequence covers its
// longest valid-looking start (at least one byte) and decodes as U+FFFD.
struct Decoded {
    char32_t codePoint;
    std::size_t length;
    bool valid;
};

Decoded DecodeAt(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    int follow = 0;
    char32_t codePoint = 0;
    unsigned char lower = 0x80;
    unsigned char upper = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        follow = 1;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        follow = 2;
        codePoint = lead & 0x0Fu;
        lower = lead == 0xE0 ? 0xA0 : lower; // no overlong forms
        upper = lead == 0xED ? 0x9F : upper; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        follow = 3;
        codePoint = lead & 0x07u;
        lower = lead == 0xF0 ? 0x90 : lower;
        upper = lead == 0xF4 ? 0x8F : upper; // nothing above U+10FFFF
    } else {
        return {kReplacement, 1, false};
    }
    std::size_t length = 1;
    for (int i = 0; i < follow; ++i, ++length) {
        if (pos + length >= s.size()) {
            return {kReplacement, length, false};
        }
        const auto next = static_cast<unsigned char>(s[pos + length]);
        if (next < lower || next > upper) {
            return {kReplacement, length, false};
        }
        lower = 0x80;
        upper = 0xBF;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    return {codePoint, length, true};
}

char32_t UpperOf(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    switch (c) {
    case 0x0161:
        return 0x0160;
    case 0x0153:
        return 0x0152;
    case 0x017E:
        return 0x017D;
    case 0x00FF:
        return 0x0178;
    default:
        return c;
    }
}

char32_t LowerOf(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
    case 0x0160:
        return 0x0161;
    case 0x0152:
        return 0x0153;
    case 0x017D:
        return 0x017E;
    case 0x0178:
        return 0x00FF;
    default:
        return c;
    }
}

// Applies map to the characters for which change is true; invalid bytes are kept as they are.
template <typename Change, typename Map>
std::string MapCharacters(std::string_view utf8, Change change, Map map) {
    std::string out;
    out.reserve(utf8.size());
    char32_t previous = 0;
    char32_t beforePrevious = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Decoded d = DecodeAt(utf8, pos);
        if (d.valid && change(pos, previous, beforePrevious)) {
            AppendUtf8(out, map(d.codePoint));
        } else {
            out.append(utf8.substr(pos, d.length));
        }
        beforePrevious = previous;
        previous = d.codePoint;
        pos += d.length;
    }
    return out;
}

bool IsSpace(char c) {
    return c == ' ';
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F) {
            AppendUtf8(out, kHighControls[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Decoded d = DecodeAt(utf8, pos);
        const int byte = Cp1252ByteOf(d.codePoint);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        pos += d.length;
    }
    return out;
}

std::u32string Utf8ToCodePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Decoded d = DecodeAt(utf8, pos);
        out += d.codePoint;
        pos += d.length;
    }
    return out;
}

std::string CodePointsToUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t c : codePoints) {
        AppendUtf8(out, c);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int Cp1252ByteOf(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    const auto* found = std::find(std::begin(kHighControls), std::end(kHighControls), codePoint);
    return found == std::end(kHighControls) ? -1 : static_cast<int>(0x80 + (found - kHighControls));
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); pos += DecodeAt(utf8, pos).length) {
        ++count;
    }
    return count;
}

std::string Trim(std::string_view text) {
    return TrimLeft(TrimRight(text));
}

std::string TrimLeft(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsSpace);
    return std::string(first, text.end());
}

std::string TrimRight(std::string_view text) {
    const auto end = std::find_if_not(text.rbegin(), text.rend(), IsSpace).base();
    return std::string(text.begin(), end);
}

std::string ToUpper(std::string_view utf8) {
    return MapCharacters(
        utf8, [](auto...) { return true; }, UpperOf);
}

std::string ToLower(std::string_view utf8) {
    return MapCharacters(
        utf8, [](auto...) { return true; }, LowerOf);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return ToUpper(a) == ToUpper(b);
}

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    }
    // The last run that starts at or before c is the only one that can hold it.
    const auto* run =
        std::upper_bound(std::begin(kCaseFoldRuns), std::end(kCaseFoldRuns), c,
                         [](char32_t code, const CaseFoldRun& r) { return code < r.first; });
    if (run == std::begin(kCaseFoldRuns)) {
        return c;
    }
    --run;
    const char32_t offset = c - run->first;
    if (offset % run->stride != 0 || offset / run->stride >= run->count) {
        return c;
    }
    return static_cast<char32_t>(static_cast<std::int64_t>(c) + run->delta);
}

std::string FoldCase(std::string_view utf8) {
    return MapCharacters(
        utf8, [](auto...) { return true; }, [](char32_t c) { return FoldCase(c); });
}

std::string Excerpt(std::string_view utf8, std::size_t maxCharacters) {
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < utf8.size(); ++count) {
        if (count == maxCharacters) {
            return std::string(utf8.substr(0, pos)) + "...";
        }
        pos += DecodeAt(utf8, pos).length;
    }
    return std::string(utf8);
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) {
        return std::string(text);
    }
    std::string out;
    std::size_t start = 0;
    for (auto hit = text.find(find); hit != std::string_view::npos; hit = text.find(find, start)) {
        out.append(text.substr(start, hit - start));
        out.append(replacement);
        start = hit + find.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string RemoveChars(std::string_view text, std::string_view chars) {
    const std::u32string unwanted = Utf8ToCodePoints(chars);
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Decoded d = DecodeAt(text, pos);
        if (!d.valid || unwanted.find(d.codePoint) == std::u32string::npos) {
            out.append(text.substr(pos, d.length));
        }
        pos += d.length;
    }
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    std::size_t start = 0;
    for (auto hit = text.find(separator); hit != std::string_view::npos;
         hit = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, hit - start));
        start = hit + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string ProperCase(std::string_view utf8) {
    const auto startsWord = [](std::size_t pos, char32_t previous, char32_t beforePrevious) {
        return pos == 0 || previous == U' ' || (beforePrevious == U'\r' && previous == U'\n');
    };
    return MapCharacters(utf8, startsWord, UpperOf);
}

int CountOccurrences(std::string_view text, std::string_view find) {
    if (find.empty()) {
        return 0;
    }
    int count = 0;
    for (auto hit = text.find(find); hit != std::string_view::npos;
         hit = text.find(find, hit + find.size())) {
        ++count;
    }
    return count;
}

namespace {

// C0, DEL and C1: what a terminal may take as a command.
bool IsControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

std::string Escaped(std::string_view utf8, bool tabSeparated) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size());
    auto hex = [&](std::string_view bytes) {
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    };
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Decoded d = DecodeAt(utf8, pos);
        const std::string_view bytes = utf8.substr(pos, d.length);
        pos += d.length;
        if (tabSeparated && d.valid) {
            const char* escape = d.codePoint == '\\'   ? "\\\\"
                                 : d.codePoint == '\t' ? "\\t"
                                 : d.codePoint == '\n' ? "\\n"
                                 : d.codePoint == '\r' ? "\\r"
                                                       : nullptr;
            if (escape) {
                out += escape;
                continue;
            }
        }
        if (!d.valid || IsControl(d.codePoint)) {
            hex(bytes);
        } else {
            out.append(bytes);
        }
    }
    return out;
}

} // namespace

std::string EscapeControlCharacters(std::string_view utf8) {
    return Escaped(utf8, false);
}

std::string TabSeparatedValue(std::string_view utf8) {
    // A value that only looks quoted is quoted all the same, so reading it back keeps its quotes.
    bool plain = !(utf8.size() >= 2 && utf8.front() == '"' && utf8.back() == '"');
    for (std::size_t pos = 0; plain && pos < utf8.size();) {
        const Decoded d = DecodeAt(utf8, pos);
        pos += d.length;
        plain = d.valid && !IsControl(d.codePoint);
    }
    if (plain) {
        return std::string(utf8);
    }
    return "\"" + Escaped(utf8, true) + "\"";
}

std::string TabSeparatedLine(const std::vector<std::string>& values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            line += '\t';
        }
        line += TabSeparatedValue(values[i]);
    }
    return line + "\n";
}

} // namespace scorewell
