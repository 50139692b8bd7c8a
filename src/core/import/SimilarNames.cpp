#include "import/SimilarNames.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "common/Text.h"
#include "data/Drivers.h"

namespace scorewell {

namespace {

// The letters U+00C0 to U+017F without their accents.
constexpr std::array<const char*, 0x180 - 0xC0> kPlainLetters = {
    "a", "a", "a",  "a",  "a", "a", "ae", "c",  "e",  "e", "e", "e", "i",  "i",  "i", "i", "d", "n",
    "o", "o", "o",  "o",  "o", "",  "o",  "u",  "u",  "u", "u", "y", "th", "ss", "a", "a", "a", "a",
    "a", "a", "ae", "c",  "e", "e", "e",  "e",  "i",  "i", "i", "i", "d",  "n",  "o", "o", "o", "o",
    "o", "",  "o",  "u",  "u", "u", "u",  "y",  "th", "y", "a", "a", "a",  "a",  "a", "a", "c", "c",
    "c", "c", "c",  "c",  "c", "c", "d",  "d",  "d",  "d", "e", "e", "e",  "e",  "e", "e", "e", "e",
    "e", "e", "g",  "g",  "g", "g", "g",  "g",  "g",  "g", "h", "h", "h",  "h",  "i", "i", "i", "i",
    "i", "i", "i",  "i",  "i", "i", "ij", "ij", "j",  "j", "k", "k", "k",  "l",  "l", "l", "l", "l",
    "l", "l", "l",  "l",  "l", "n", "n",  "n",  "n",  "n", "n", "n", "n",  "n",  "o", "o", "o", "o",
    "o", "o", "oe", "oe", "r", "r", "r",  "r",  "r",  "r", "s", "s", "s",  "s",  "s", "s", "s", "s",
    "t", "t", "t",  "t",  "t", "t", "u",  "u",  "u",  "u", "u", "u", "u",  "u",  "u", "u", "u", "u",
    "w", "w", "y",  "y",  "y", "z", "z",  "z",  "z",  "z", "z", "s"};

struct NameParts {
    std::vector<std::string> words; // skeletons of the words, without the suffix
    std::string suffix;             // "jr", "sr", "ii", "iii", "iv" or empty
};

bool IsSuffix(const std::string& word) {
    return word == "jr" || word == "sr" || word == "ii" || word == "iii" || word == "iv";
}

NameParts PartsOf(std::string_view name) {
    NameParts parts;
    std::string word;
    auto endWord = [&] {
        if (!word.empty()) {
            parts.words.push_back(word);
            word.clear();
        }
    };
    for (char32_t c : Utf8ToCodePoints(FoldCase(name))) {
        if (c == ' ' || c == '\t' || c == ',' || c == '-') {
            endWord();
        } else {
            word += NameSkeleton(CodePointsToUtf8(std::u32string(1, c)));
        }
    }
    endWord();
    if (parts.words.size() > 1 && IsSuffix(parts.words.back())) {
        parts.suffix = parts.words.back();
        parts.words.pop_back();
    }
    return parts;
}

std::size_t EditDistance(std::u32string_view a, std::u32string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::string NameSkeleton(std::string_view name) {
    std::string skeleton;
    for (char32_t c : Utf8ToCodePoints(FoldCase(name))) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            skeleton += static_cast<char>(c);
        } else if (c >= 0xC0 && c < 0x180) {
            skeleton += kPlainLetters[c - 0xC0];
        } else if (c > 0x7F && c != 0xA0 && !(c >= 0x2000 && c <= 0x206F)) {
            // Letters of other scripts count as they are; blanks and punctuation do not.
            AppendUtf8(skeleton, c);
        }
    }
    return skeleton;
}

bool NamesLookAlike(std::string_view a, std::string_view b) {
    if (DriverNameKey(a) == DriverNameKey(b)) {
        return false; // one name: the league holds it once
    }
    const NameParts pa = PartsOf(a);
    const NameParts pb = PartsOf(b);
    if (pa.suffix != pb.suffix || pa.words.empty() || pb.words.empty()) {
        return false;
    }
    std::string sa, sb;
    for (const auto& w : pa.words)
        sa += w;
    for (const auto& w : pb.words)
        sb += w;
    if (sa == sb) {
        return true;
    }
    const std::u32string ca = Utf8ToCodePoints(sa);
    const std::u32string cb = Utf8ToCodePoints(sb);
    if (ca.size() >= 8 && cb.size() >= 8 && EditDistance(ca, cb) <= 2) {
        return true;
    }
    return pa.words.size() > 1 && pb.words.size() > 1 && pa.words.back() == pb.words.back() &&
           pa.words.front().substr(0, 1) == pb.words.front().substr(0, 1);
}

std::vector<SimilarName> FindSimilarNames(const std::vector<std::string>& newNames,
                                          const std::vector<std::string>& knownNames) {
    std::vector<SimilarName> similar;
    for (std::size_t i = 0; i < newNames.size(); ++i) {
        for (const std::string& known : knownNames) {
            if (NamesLookAlike(newNames[i], known)) {
                similar.push_back({newNames[i], known});
            }
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (NamesLookAlike(newNames[i], newNames[j])) {
                similar.push_back({newNames[i], newNames[j]});
            }
        }
    }
    return similar;
}

std::vector<SimilarName> SimilarStagedNames(League& league) {
    Database& db = league.Db();
    std::vector<std::string> known;
    std::set<std::string> keys;
    for (Cursor c = db.Query("SELECT Name FROM Driver ORDER BY DriverID"); !c.AtEnd();
         c.MoveNext()) {
        known.push_back(c.Field(0).AsText());
        keys.insert(DriverNameKey(known.back()));
    }
    // Each new name once, as the import will make its driver, with the race naming it first.
    std::vector<std::string> fresh;
    std::map<std::string, std::int32_t> races;
    for (Cursor c = db.Query("SELECT DriverName, STNRaceID FROM STNStats "
                             "ORDER BY STNRaceID, STNStatsID");
         !c.AtEnd(); c.MoveNext()) {
        const std::string name = Trim(c.Field(0).AsText());
        if (!name.empty() && keys.insert(DriverNameKey(name)).second) {
            fresh.push_back(name);
            races[name] = static_cast<std::int32_t>(c.Field(1).AsInteger());
        }
    }
    std::vector<SimilarName> similar = FindSimilarNames(fresh, known);
    for (SimilarName& s : similar) {
        s.stnRaceId = races[s.newName];
    }
    return similar;
}

} // namespace scorewell
