#include "import/SimilarNames.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <unordered_map>

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

// What the comparison needs of a name, worked out once however many names it meets.
struct PreparedName {
    std::string key;                // DriverNameKey: one name in any letter case
    std::vector<std::string> words; // skeletons of the words, without the suffix
    std::string suffix;             // "jr", "sr", "ii", "iii", "iv" or empty
    std::string joined;             // the words' skeletons run together
    std::u32string letters;         // joined, as characters
    std::string digits;             // the digits of the name, in order
};

bool IsSuffix(const std::string& word) {
    return word == "jr" || word == "sr" || word == "ii" || word == "iii" || word == "iv";
}

// Names at least this long may be this many edits apart and still be one driver.
constexpr std::size_t kEditedNameLength = 8;
constexpr std::size_t kMostEdits = 2;

PreparedName Prepare(std::string_view name) {
    PreparedName p;
    p.key = DriverNameKey(name);
    std::string word;
    auto endWord = [&] {
        if (!word.empty()) {
            p.words.push_back(word);
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
    if (p.words.size() > 1 && IsSuffix(p.words.back())) {
        p.suffix = p.words.back();
        p.words.pop_back();
    }
    for (const auto& w : p.words) {
        p.joined += w;
    }
    p.letters = Utf8ToCodePoints(p.joined);
    for (char c : p.joined) {
        if (c >= '0' && c <= '9') {
            p.digits += c;
        }
    }
    return p;
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

bool MayBeEdited(const PreparedName& p) {
    return p.letters.size() >= kEditedNameLength;
}

bool LookAlike(const PreparedName& a, const PreparedName& b) {
    if (a.key == b.key) {
        return false; // one name: the league holds it once
    }
    if (a.suffix != b.suffix || a.words.empty() || b.words.empty()) {
        return false;
    }
    if (a.joined == b.joined) {
        return true;
    }
    // Numbers in names are meant ("Car 12", "Car 13"): names whose numbers differ are no slip.
    const std::size_t longer = std::max(a.letters.size(), b.letters.size());
    const std::size_t shorter = std::min(a.letters.size(), b.letters.size());
    if (MayBeEdited(a) && MayBeEdited(b) && a.digits == b.digits &&
        longer - shorter <= kMostEdits && EditDistance(a.letters, b.letters) <= kMostEdits) {
        return true;
    }
    return a.words.size() > 1 && b.words.size() > 1 && a.words.back() == b.words.back() &&
           a.words.front().substr(0, 1) == b.words.front().substr(0, 1);
}

// Every text left of the letters when at most kMostEdits of them are taken out. Two texts at
// most kMostEdits edits apart always share one, so a name's look-alikes by editing are found
// among the names sharing one of these with it, without comparing every pair.
std::set<std::u32string> Deletions(const std::u32string& letters) {
    std::set<std::u32string> out{letters};
    std::vector<std::u32string> last{letters};
    for (std::size_t round = 0; round < kMostEdits; ++round) {
        std::vector<std::u32string> next;
        for (const auto& text : last) {
            for (std::size_t i = 0; i < text.size(); ++i) {
                std::u32string shorter = text;
                shorter.erase(i, 1);
                if (out.insert(shorter).second) {
                    next.push_back(std::move(shorter));
                }
            }
        }
        last = std::move(next);
    }
    return out;
}

// Where the names that may look alike meet: one bucket per skeleton, per surname and initial, and
// per text left after deletions. Names are numbered in one list, the known ones first.
class NameIndex {
public:
    explicit NameIndex(const std::vector<PreparedName>& names) {
        // Names that may be edited versions of each other have the same suffix and numbers;
        // a name alone in its group needs no deletions, which spares most names with numbers.
        for (const auto& p : names) {
            if (MayBeEdited(p)) {
                ++groups_[GroupOf(p)];
            }
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            const PreparedName& p = names[i];
            if (p.words.empty()) {
                continue;
            }
            const int n = static_cast<int>(i);
            buckets_[Utf8ToCodePoints("s\n" + p.suffix + "\n" + p.joined)].push_back(n);
            if (p.words.size() > 1) {
                buckets_[Utf8ToCodePoints("i\n" + p.suffix + "\n" + p.words.back() + "\n" +
                                          p.words.front().substr(0, 1))]
                    .push_back(n);
            }
            if (MayBeEdited(p) && groups_.at(GroupOf(p)) > 1) {
                const std::u32string group = Utf8ToCodePoints("e\n" + GroupOf(p) + "\n");
                for (const auto& text : Deletions(p.letters)) {
                    buckets_[group + text].push_back(n);
                }
            }
        }
    }

    // The names that share a bucket with name n, in order, without n.
    std::vector<int> Candidates(int n, const PreparedName& p) const {
        std::vector<int> found;
        auto add = [&](const std::u32string& key) {
            if (const auto it = buckets_.find(key); it != buckets_.end()) {
                found.insert(found.end(), it->second.begin(), it->second.end());
            }
        };
        add(Utf8ToCodePoints("s\n" + p.suffix + "\n" + p.joined));
        if (p.words.size() > 1) {
            add(Utf8ToCodePoints("i\n" + p.suffix + "\n" + p.words.back() + "\n" +
                                 p.words.front().substr(0, 1)));
        }
        if (MayBeEdited(p) && groups_.at(GroupOf(p)) > 1) {
            const std::u32string group = Utf8ToCodePoints("e\n" + GroupOf(p) + "\n");
            for (const auto& text : Deletions(p.letters)) {
                add(group + text);
            }
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        found.erase(std::remove(found.begin(), found.end(), n), found.end());
        return found;
    }

private:
    static std::string GroupOf(const PreparedName& p) { return p.suffix + "\n" + p.digits; }

    std::map<std::string, int> groups_; // names that may be edited, by suffix and numbers
    std::unordered_map<std::u32string, std::vector<int>> buckets_;
};

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
    return LookAlike(Prepare(a), Prepare(b));
}

std::vector<SimilarName> FindSimilarNames(const std::vector<std::string>& newNames,
                                          const std::vector<std::string>& knownNames) {
    std::vector<PreparedName> names;
    names.reserve(knownNames.size() + newNames.size());
    for (const auto& name : knownNames) {
        names.push_back(Prepare(name));
    }
    for (const auto& name : newNames) {
        names.push_back(Prepare(name));
    }
    const NameIndex index(names);
    const int known = static_cast<int>(knownNames.size());
    std::vector<SimilarName> similar;
    for (std::size_t i = 0; i < newNames.size(); ++i) {
        const int n = known + static_cast<int>(i);
        // The known names, then the new names before this one: each pair once.
        for (int other : index.Candidates(n, names[static_cast<std::size_t>(n)])) {
            if (other > n) {
                break;
            }
            if (LookAlike(names[static_cast<std::size_t>(n)],
                          names[static_cast<std::size_t>(other)])) {
                similar.push_back(
                    {newNames[i], other < known
                                      ? knownNames[static_cast<std::size_t>(other)]
                                      : newNames[static_cast<std::size_t>(other - known)]});
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
