#include "import/HTMLParser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <utility>
#include <vector>

#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"

namespace scorewell {

namespace {

constexpr std::string_view kHeading = "NASCAR RACING 4 EXPORTED STANDINGS";
constexpr std::string_view kRegistered = "\xC2\xAE"; // "®" in UTF-8
constexpr std::int64_t kMaxPosition = 43;
constexpr std::size_t kRaceCells = 9;
constexpr std::size_t kQualifyingCells = 4;

struct ParseFailure {
    long number;
    std::string message;
};

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(FileSystemPath(path), std::ios::binary | std::ios::ate);
    if (!in) {
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(bytes.data(), size));
}

// The walk sees the page as one line: line ends are dropped and tabs become blanks. A lone LF
// counts as a line end too, for pages saved again by an editor that drops the CRs.
std::string Flatten(std::string_view text) {
    std::string flat;
    flat.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find_first_of("\r\n\t"); at != std::string_view::npos;
         at = text.find_first_of("\r\n\t", from)) {
        flat.append(text, from, at - from);
        from = at + 1;
        if (text[at] == '\t') {
            flat += ' ';
        } else if (text[at] == '\r') {
            if (from < text.size() && text[from] == '\n') {
                ++from;
            } else {
                flat += '\r';
            }
        }
    }
    flat.append(text, from);
    return flat;
}

struct Element {
    std::string name;
    std::string_view content;
};

bool HasNoContent(const std::string& name) {
    return name == "!--" || name == "BR";
}

// The elements of a text, one after the other, without descending into their content.
class ElementWalker {
public:
    explicit ElementWalker(std::string_view text) : text_(text) {}

    // False at the end of the text.
    bool Next(Element& element) {
        const std::size_t open = text_.find('<', pos_);
        const std::size_t tagEnd =
            open == std::string_view::npos ? open : text_.find('>', open + 1);
        if (tagEnd == std::string_view::npos) {
            pos_ = text_.size();
            return false;
        }
        const std::size_t nameEnd = text_.find_first_of(" >", open + 1);
        element.name.clear();
        for (char c : TrimBlanks(text_.substr(open + 1, nameEnd - open - 1))) {
            element.name += UpperAscii(c);
        }
        if (HasNoContent(element.name)) {
            element.content = {};
            pos_ = tagEnd + 1;
            return true;
        }

        const std::string closing = "</" + element.name + ">";
        std::size_t contentEnd = Search(closing, tagEnd + 1);
        if (contentEnd != std::string_view::npos) {
            pos_ = contentEnd + closing.size();
        } else if (element.name == "TR") {
            contentEnd = Search("<TR", tagEnd + 1);
            if (contentEnd == std::string_view::npos) {
                contentEnd = text_.size();
            }
            pos_ = contentEnd;
        } else {
            throw ParseFailure{CHTMLParser::ErrUnclosedElement,
                               "The file is incomplete or damaged: the element <" + element.name +
                                   "> is not closed by " + closing + "."};
        }
        element.content = TrimBlanks(text_.substr(tagEnd + 1, contentEnd - tagEnd - 1));
        return true;
    }

private:
    // The first occurrence of the upper-case needle (starting with "<") at or after from,
    // regardless of letter case. A failed search is remembered, so that rows without closing tag
    // do not each search the rest of a long page again.
    std::size_t Search(const std::string& needle, std::size_t from) {
        auto cached = std::find_if(searches_.begin(), searches_.end(),
                                   [&](const PastSearch& past) { return past.needle == needle; });
        if (cached == searches_.end()) {
            cached = searches_.insert(searches_.end(), PastSearch{needle, 0, 0});
        } else if (cached->from <= from &&
                   (cached->found == std::string_view::npos || cached->found >= from)) {
            return cached->found;
        }
        std::size_t found = std::string_view::npos;
        for (std::size_t at = text_.find('<', from); at != std::string_view::npos;
             at = text_.find('<', at + 1)) {
            if (text_.size() - at >= needle.size() && MatchesAt(needle, at)) {
                found = at;
                break;
            }
        }
        cached->from = from;
        cached->found = found;
        return found;
    }

    bool MatchesAt(const std::string& needle, std::size_t at) const {
        for (std::size_t i = 1; i < needle.size(); ++i) {
            if (UpperAscii(text_[at + i]) != needle[i]) {
                return false;
            }
        }
        return true;
    }

    struct PastSearch {
        std::string needle;
        std::size_t from;
        std::size_t found;
    };

    std::string_view text_;
    std::size_t pos_ = 0;
    std::vector<PastSearch> searches_;
};

// The cells of each row of a table. A row may leave out its last cells; they keep the values of
// the row before.
template <class RowHandler>
void ReadRows(std::string_view table, std::size_t maxCells, const std::string& tableName,
              RowHandler&& handleRow) {
    std::vector<std::string> cells(maxCells);
    std::vector<std::string_view> rowCells;
    ElementWalker rows(table);
    Element row;
    while (rows.Next(row)) {
        if (HasNoContent(row.name)) {
            continue;
        }
        rowCells.clear();
        ElementWalker walker(row.content);
        Element cell;
        while (walker.Next(cell)) {
            if (!HasNoContent(cell.name)) {
                rowCells.push_back(cell.content);
            }
        }
        if (rowCells.size() > maxCells) {
            throw ParseFailure{
                CHTMLParser::ErrTooManyCells,
                "A row of the " + tableName + " has " + std::to_string(rowCells.size()) +
                    " cells; the table has no more than " + std::to_string(maxCells) + "."};
        }
        for (std::size_t i = 0; i < rowCells.size(); ++i) {
            cells[i] = rowCells[i];
        }
        handleRow(cells);
    }
}

std::string VictoryMargin(std::string_view interval) {
    const std::string margin = ReplaceAll(interval, "-", "");
    if (margin.find('L') != std::string::npos) {
        return ReplaceAll(margin, "L", " lap(s)");
    }
    return margin + " sec";
}

} // namespace

CDriverInfo& CDrivers::Add(CDriverInfo driver, std::string_view key) {
    CDriverInfo* added = Insert(std::move(driver), key);
    if (!added) {
        throw std::invalid_argument("the driver " + Quoted(key) + " is listed already");
    }
    return *added;
}

class CHTMLParser::Reader {
public:
    explicit Reader(CHTMLParser& parser) : parser_(parser), race_(parser.race_) {}

    void Run(std::string_view text) {
        ElementWalker walker(text);
        Element element;
        while (walker.Next(element)) {
            if (element.name == "H1") {
                if (element.content != kHeading) {
                    throw ParseFailure{ErrNotExported,
                                       "This file does not seem to have been exported by\r\n"
                                       "NASCAR Racing 4 or else it has been modified."};
                }
            } else if (element.name == "H3") {
                Heading(element.content);
            } else if (element.name == "TABLE") {
                if (session_ == Session::Qualifying) {
                    QualifyingTable(element.content);
                } else if (session_ == Session::Race) {
                    RaceTable(element.content);
                }
                session_ = Session::None;
            }
        }

        race_.Length = TrackLength();
        // The race distance over the average speed, rounded once, to the text.
        const double distance = static_cast<double>(race_.Laps) * race_.Length;
        race_.RaceTime = FormatTime(ConvertSpeedTime(LeadingNumber(race_.AvgSpeed), distance),
                                    parser_.DecimalSeparator);
    }

private:
    enum class Session { None, Practice, Qualifying, Warmup, Race };

    void Heading(std::string_view content) {
        const std::size_t colon = content.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        const std::string_view key = content.substr(0, colon);
        const std::string_view value = content.substr(colon + 1);
        if (key == "Track") {
            race_.Name = ReplaceAll(Trim(ProperCase(ToLower(value))), kRegistered, "");
        } else if (key == "Session") {
            const std::string session = Trim(value);
            if (session == "Practice") {
                session_ = Session::Practice;
            } else if (session == "Qualifying") {
                session_ = Session::Qualifying;
            } else if (session == "Warmup") {
                session_ = Session::Warmup;
            } else if (session == "Race") {
                session_ = Session::Race;
            }
        } else if (key == "Weather") {
            race_.Weather = Trim(value);
        } else if (key == "Caution Flags") {
            const std::size_t paren = value.find('(');
            if (paren == std::string_view::npos) {
                throw ParseFailure{ErrCautionFlags,
                                   "The caution flags heading reads " + Quoted(Trim(value)) +
                                       ", without the \"(\" that ends the number of cautions."};
            }
            race_.Cautions = Trim(value.substr(0, paren));
        }
    }

    void QualifyingTable(std::string_view table) {
        ReadRows(table, kQualifyingCells, "qualifying table",
                 [this](const std::vector<std::string>& cells) {
                     if (cells[2] == "DRIVER") {
                         return;
                     }
                     const auto position =
                         Position(cells[0], "The qualifying position " + Quoted(cells[0]));
                     qualifying_[position] = QualifyingSpeed(cells[3]);
                 });
    }

    void RaceTable(std::string_view table) {
        ReadRows(table, kRaceCells, "race table", [this](const std::vector<std::string>& cells) {
            const std::string& name = cells[3];
            if (name == "DRIVER") {
                return;
            }
            CDriverInfo driver;
            driver.Name = name;
            driver.Start = Position(cells[1], "The start position " + Quoted(cells[1]) + " of " +
                                                  Quoted(name));
            driver.Finish = Integer(cells[0]);
            driver.LapsRun = Integer(cells[5]);
            driver.LapsLed = Integer(cells[6]);
            driver.Points = Integer(cells[7]);
            driver.Qualifying = qualifying_[static_cast<std::size_t>(driver.Start)];
            driver.ReasonOut = cells[8];
            const std::int16_t finish = driver.Finish;
            const std::int16_t laps = driver.LapsRun;
            if (parser_.drivers_.Find(name)) {
                throw ParseFailure{ErrDuplicateDriver, "The driver " + Quoted(name) +
                                                           " is listed twice in the race results."};
            }
            parser_.drivers_.Add(std::move(driver), name);

            if (finish == 1) {
                race_.AvgSpeed = cells[4] + "mph";
                race_.Laps = laps;
            } else if (finish == 2) {
                race_.VictoryMargin = VictoryMargin(cells[4]);
            }
        });
    }

    static std::int16_t Position(const std::string& cell, const std::string& what) {
        const double value = LeadingNumber(cell);
        const std::int64_t position =
            value > 0 && value < 2 * kMaxPosition ? RoundHalfEven(value) : 0;
        if (position < 1 || position > kMaxPosition) {
            throw ParseFailure{ErrPosition, what + " is not between 1 and " +
                                                std::to_string(kMaxPosition) + "."};
        }
        return static_cast<std::int16_t>(position);
    }

    static std::int16_t Integer(const std::string& cell) {
        using Limits = std::numeric_limits<std::int16_t>;
        const double value = LeadingNumber(cell);
        const std::int64_t rounded =
            std::abs(value) < 2.0 * Limits::max() ? RoundHalfEven(value) : Limits::max() + 1;
        if (rounded < Limits::min() || rounded > Limits::max()) {
            throw ParseFailure{ErrNumberTooLarge,
                               "The number " + Quoted(cell) + " in the race table is too large."};
        }
        return static_cast<std::int16_t>(rounded);
    }

    // A cell of the qualifying table gives a speed, a lap time or "--" for none.
    float QualifyingSpeed(const std::string& cell) {
        if (cell == "--") {
            return 0;
        }
        if (cell.find("mph") != std::string::npos) {
            return static_cast<float>(LeadingNumber(cell));
        }
        const std::size_t colon = cell.find(':');
        const double time = colon == std::string::npos
                                ? LeadingNumber(cell)
                                : LeadingNumber(std::string_view(cell).substr(0, colon)) * 60 +
                                      LeadingNumber(std::string_view(cell).substr(colon + 1));
        return ToSingle(ConvertSpeedTime(time, TrackLength()));
    }

    float TrackLength() const {
        const CTrackInfo* track = parser_.TrackList ? parser_.TrackList->Find(race_.Name) : nullptr;
        if (track) {
            return track->Length;
        }
        if (race_.Name.empty()) {
            throw ParseFailure{ErrUnknownTrack,
                               "The file names no track, so the track length is unknown."};
        }
        std::string message = "The track " + Quoted(race_.Name) +
                              " is not among the tracks of the NASCAR Racing 4 folder";
        if (!parser_.TracksFolder.empty()) {
            message += " " + parser_.TracksFolder;
        }
        throw ParseFailure{ErrUnknownTrack, message + "."};
    }

    CHTMLParser& parser_;
    CRaceInfo& race_;
    Session session_ = Session::None;
    // Qualifying speeds by qualifying position 1 to 43; 0 for positions without a row.
    std::array<float, kMaxPosition + 1> qualifying_{};
};

bool CHTMLParser::Execute() {
    const std::string path = NativePath(InputFile);
    std::string bytes;
    bool read = false;
    try {
        read = ReadBytes(path, bytes);
    } catch (const std::exception&) {
    }
    if (!read) {
        race_ = CRaceInfo{};
        drivers_ = CDrivers{};
        errNum_ = ErrCannotOpen;
        errMsg_ = FileExists(path) ? "The file cannot be read." : "The file does not exist.";
        return false;
    }
    return ExecuteBytes(bytes);
}

bool CHTMLParser::ExecuteBytes(std::string_view bytes) {
    race_ = CRaceInfo{};
    drivers_ = CDrivers{};
    errMsg_.clear();
    errNum_ = 0;
    try {
        race_.FileName = FileNameOf(InputFile, false);
        Reader(*this).Run(Flatten(Cp1252ToUtf8(bytes)));
        return true;
    } catch (const ParseFailure& failure) {
        errNum_ = failure.number;
        errMsg_ = failure.message;
    } catch (const std::exception& error) {
        errNum_ = ErrUnexpected;
        errMsg_ = std::string("The file could not be read: ") + error.what();
    }
    return false;
}

} // namespace scorewell
