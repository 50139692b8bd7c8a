#include "import/RaceFinal.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <unordered_map>

#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/Drivers.h"
#include "scoring/Scoring.h"

namespace scorewell {

namespace {

constexpr DriverLineLayout kCommonLayout{{1, 2},  {5, 2},  {9, 3},  {14, 27}, {42, 3},
                                         {47, 3}, {53, 3}, {57, 8}, {66, 12}};
constexpr DriverLineLayout kRacing2Layout{{1, 2},  {5, 2},  {9, 3},  {14, 26}, {41, 3},
                                          {46, 3}, {52, 3}, {56, 7}, {63, 12}};

constexpr ColumnPlace kHeaderMark{1, 10};
constexpr ColumnPlace kRestOfLine{11, INT_MAX};
constexpr std::string_view kHeaderText = "Race Final";
constexpr std::string_view kHyphens = "----------";
constexpr std::string_view kComputerCar = "AI :";
constexpr int kStatisticsLines = 6;

constexpr std::int64_t kIntegerLimit = 32767;   // 16-bit columns
constexpr std::int64_t kLongLimit = 2147483647; // 32-bit columns

// A file the reader refuses, in the words the user reads.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Refuse(const std::string& message) {
    throw Refusal(message);
}

std::string AtLine(int line) {
    return "Line " + std::to_string(line) + ": ";
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A value of the file as a message shows it: a field may run to the end of a very long line.
std::string Shown(std::string_view text) {
    return Quoted(Excerpt(text));
}

std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The bytes at a place of a line: nothing past its end, fewer at its end.
std::string_view Cut(std::string_view line, ColumnPlace place) {
    const auto start = static_cast<std::size_t>(place.position - 1);
    if (start >= line.size()) {
        return {};
    }
    return line.substr(start, static_cast<std::size_t>(place.width));
}

std::string FieldText(std::string_view line, ColumnPlace place) {
    return Cp1252ToUtf8(TrimmedView(Cut(line, place)));
}

std::string ReadBytes(const std::string& fileName) {
    std::FILE* file = OpenFile(fileName, "rb");
    if (!file) {
        Refuse("The file cannot be opened (" + std::generic_category().message(errno) + ")");
    }
    std::string bytes;
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        Refuse("The file cannot be read (" + std::generic_category().message(error) + ")");
    }
    return bytes;
}

// A number field must hold a number that fits its column: a blank field, a non-number or a
// number too large refuses the whole file, as the league file would refuse the row.
double NumberField(const std::string& text, const std::string& where, std::string_view what) {
    if (TrimmedView(text).empty()) {
        Refuse(where + "the " + std::string(what) + " is blank");
    }
    const auto number = StrictNumber(text);
    if (!number) {
        Refuse(where + "the " + std::string(what) + " is not a number (" + Shown(text) + ")");
    }
    return *number;
}

std::int64_t WholeField(const std::string& text, const std::string& where, std::string_view what,
                        std::int64_t limit) {
    const std::int64_t value = RoundHalfEven(NumberField(text, where, what));
    if (value < -limit - 1 || value > limit) {
        Refuse(where + "the " + std::string(what) + " is out of range (" + Shown(text) + ")");
    }
    return value;
}

// A text longer than its column made the statement fail as well.
void CheckSize(const std::string& text, std::optional<int> size, const std::string& where,
               std::string_view what) {
    if (size && CharacterCount(text) > static_cast<std::size_t>(*size)) {
        Refuse(where + "the " + std::string(what) + " is longer than " + std::to_string(*size) +
               " characters (" + Shown(text) + ")");
    }
}

Value TextOrNull(std::string text) {
    return text.empty() ? Value() : Value(std::move(text));
}

// One statistic as read, with its line for the messages.
struct Statistic {
    std::string text;
    int line = 0;
};

} // namespace

const DriverLineLayout& DriverLineLayoutFor(Simulation simType) {
    return simType == Simulation::NascarRacing2 ? kRacing2Layout : kCommonLayout;
}

std::string_view RaceFinalLines::Next() {
    const std::string_view all(bytes_);
    std::size_t end = all.find_first_of("\r\n", next_);
    if (end == std::string_view::npos) {
        end = all.size();
    }
    const std::string_view line = all.substr(std::min(next_, all.size()), end - next_);
    next_ = end;
    if (next_ < all.size()) {
        next_ += all[next_] == '\r' && next_ + 1 < all.size() && all[next_ + 1] == '\n' ? 2 : 1;
    }
    ++lineNumber_;
    return line;
}

std::optional<std::string_view> ReadDataLine(RaceFinalLines& lines) {
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        if (lines.AtEnd()) {
            return line;
        }
        const std::string_view trimmed = TrimmedView(line);
        if (!trimmed.empty() && trimmed.front() != '*') {
            return line;
        }
    }
    return std::nullopt;
}

std::optional<float> ConvertQualifying(std::string_view text, LapReportingMethod lapReportingMethod,
                                       float trackLength) {
    if (text.empty()) {
        return 0.0f;
    }
    if (lapReportingMethod == LapReportingMethod::Speed) {
        const auto speed = StrictNumber(text);
        if (!speed || !std::isfinite(ToSingle(*speed))) {
            return std::nullopt;
        }
        return ToSingle(*speed);
    }
    double seconds = 0;
    if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        seconds = LeadingNumber(text.substr(0, colon)) * 60 + LeadingNumber(text.substr(colon + 1));
    } else {
        seconds = LeadingNumber(text);
    }
    const float speed = ToSingle(ConvertSpeedTime(seconds, trackLength));
    if (!std::isfinite(speed)) {
        return std::nullopt;
    }
    // The speed reached the league file as its general-form text; reading that text back gives
    // the value the file received.
    return ToSingle(LeadingNumber(GeneralNumberText(speed, ".")));
}

namespace {

StagingResult Refused(const std::string& fileName, const std::string& message) {
    StagingResult result;
    result.message = message;
    result.title = "Error Reading '" + fileName + "'";
    return result;
}

} // namespace

RaceFinalParse ParseRaceFinal(const std::string& fileName, std::string bytes,
                              const RaceFinalReading& reading) {
    const DriverLineLayout& layout = DriverLineLayoutFor(reading.simType);
    RaceFinalParse parse;
    try {
        RaceFinalLines lines(std::move(bytes));
        ParsedRaceFinal race;

        const auto header = ReadDataLine(lines);
        if (!header) {
            Refuse("The file is empty");
        }
        if (const auto mark = TrimmedView(Cut(*header, kHeaderMark));
            !mark.empty() && mark != kHeaderText) {
            Refuse(Quoted(fileName) + " does not seem to be a race final!");
        }
        race.name = FieldText(*header, kRestOfLine);
        CheckSize(race.name, reading.nameSize, AtLine(lines.LineNumber()), "race name");

        const auto track = ReadDataLine(lines);
        if (!track) {
            Refuse("The file ends before the track line");
        }
        const std::string trackAt = AtLine(lines.LineNumber());
        race.length = ToSingle(NumberField(Cp1252ToUtf8(Cut(*track, kTrackLengthPlace)), trackAt,
                                           "track length field"));
        if (!std::isfinite(race.length)) {
            Refuse(trackAt + "the track length field is out of range");
        }
        std::string_view lapsText = Cut(*track, kTrackLapsPlace);
        lapsText = lapsText.substr(0, lapsText.find(' '));
        race.laps = WholeField(Cp1252ToUtf8(lapsText), trackAt, "laps field", kIntegerLimit);
        race.fileName = FileNameOf(fileName, false);
        if (reading.fileNameSize &&
            CharacterCount(race.fileName) > static_cast<std::size_t>(*reading.fileNameSize)) {
            Refuse(FileNameTooLong(race.fileName, static_cast<std::size_t>(*reading.fileNameSize)));
        }

        for (int hyphenLines = 0; hyphenLines < 2;) {
            const auto line = ReadDataLine(lines);
            if (!line) {
                Refuse(hyphenLines == 0 ? "The file ends before the first line of hyphens"
                                        : "The file ends before the second line of hyphens");
            }
            if (StartsWith(*line, kHyphens)) {
                ++hyphenLines;
            }
        }

        // The line of each counted driver, by DriverNameKey: a name listed twice in any letter
        // case would give one driver two results in the race.
        std::unordered_map<std::string, int> driverLines;
        for (;;) {
            if (lines.AtEnd()) {
                Refuse("The file ends inside the driver table (line " +
                       std::to_string(lines.LineNumber()) + ")");
            }
            const std::string_view line = lines.Next();
            const std::string_view trimmed = TrimmedView(line);
            if (trimmed.empty()) {
                break;
            }
            if (StartsWith(trimmed, kComputerCar)) {
                continue;
            }
            RaceFinalResult result;
            result.driver = FieldText(line, layout.driverName);
            if (result.driver.empty() ||
                (reading.isExcluded && reading.isExcluded(result.driver))) {
                continue;
            }
            const std::string at = AtLine(lines.LineNumber());
            if (const auto [first, added] =
                    driverLines.emplace(DriverNameKey(result.driver), lines.LineNumber());
                !added) {
                Refuse(at + "the driver " + Quoted(result.driver) +
                       " is listed twice in the race results (also on line " +
                       std::to_string(first->second) + ")");
            }
            if (race.results.size() >= static_cast<std::size_t>(kIntegerLimit)) {
                Refuse(at + "the race has more than " + std::to_string(kIntegerLimit) +
                       " drivers, more than a race of the league can hold");
            }
            result.finish = static_cast<int>(race.results.size()) + 1;
            result.start =
                WholeField(FieldText(line, layout.start), at, "start field", kIntegerLimit);
            result.lapsRun =
                WholeField(FieldText(line, layout.lapsRun), at, "laps run field", kIntegerLimit);
            result.lapsLed =
                WholeField(FieldText(line, layout.lapsLed), at, "laps led field", kIntegerLimit);
            if (reading.keepPrintedPoints) {
                result.printedPoints =
                    WholeField(FieldText(line, layout.points), at, "points field", kLongLimit);
            }
            const std::string qualifyingText = FieldText(line, layout.qualifying);
            const auto qualifying =
                ConvertQualifying(qualifyingText, reading.lapReportingMethod, race.length);
            if (!qualifying) {
                Refuse(at + "the qualifying field is not a number (" + Shown(qualifyingText) + ")");
            }
            result.qualifying = *qualifying;
            result.reasonOut = FieldText(line, layout.reasonOut);
            race.results.push_back(std::move(result));
        }

        Statistic raceTime, avgSpeed, margin, cautions, leadChanges, weather;
        // A file that ends with the line closing the table simply has no statistics.
        for (int examined = 0; examined < kStatisticsLines && !lines.AtEnd(); ++examined) {
            const std::string_view line = *ReadDataLine(lines);
            if (lines.AtEnd()) {
                break; // the file's last line is not a statistic
            }
            const auto dash = line.find('-');
            if (dash == std::string_view::npos) {
                continue;
            }
            const std::string_view key = TrimmedView(line.substr(0, dash));
            const std::string_view value = TrimmedView(line.substr(dash + 1));
            const int at = lines.LineNumber();
            auto decimal = [&] {
                return ReplaceAll(Cp1252ToUtf8(value), ".", reading.decimalSeparator);
            };
            if (key == "Race time") {
                raceTime = {decimal(), at};
            } else if (key == "Average speed") {
                avgSpeed = {decimal(), at};
            } else if (key == "Margin of victory") {
                margin = {decimal(), at};
            } else if (key == "Caution flags") {
                cautions = {Cp1252ToUtf8(value), at};
            } else if (key == "# of lead changes") {
                leadChanges = {Cp1252ToUtf8(value), at};
            } else if (key == "Weather") {
                // The degree sign is "^" in NASCAR Racing 3's files and "©" in NASCAR Racing 2's.
                const char* degree = reading.simType == Simulation::NascarRacing2 ? "\xA9" : "^";
                weather = {Cp1252ToUtf8(ReplaceAll(value, degree, "\xB0")), at};
            }
        }
        CheckSize(raceTime.text, reading.raceTimeSize, AtLine(raceTime.line), "race time");
        CheckSize(avgSpeed.text, reading.avgSpeedSize, AtLine(avgSpeed.line), "average speed");
        CheckSize(margin.text, reading.marginSize, AtLine(margin.line), "margin of victory");
        CheckSize(weather.text, reading.weatherSize, AtLine(weather.line), "weather");
        auto count = [](const Statistic& s, std::string_view what) -> std::optional<std::int64_t> {
            if (s.text.empty()) {
                return std::nullopt;
            }
            return WholeField(s.text, AtLine(s.line), what, kIntegerLimit);
        };
        race.cautions = count(cautions, "caution flags value");
        race.leadChanges = count(leadChanges, "lead changes value");
        race.raceTime = std::move(raceTime.text);
        race.avgSpeed = std::move(avgSpeed.text);
        race.victoryMargin = std::move(margin.text);
        race.weather = std::move(weather.text);
        parse.race = std::move(race);
    } catch (const DbError&) {
        throw; // the league behind isExcluded failed, not the file
    } catch (const std::exception& e) {
        parse.message = e.what();
    }
    return parse;
}

RaceFinalReading LeagueReading(League& league, Simulation simType,
                               LapReportingMethod lapReportingMethod) {
    Database& db = league.Db();
    RaceFinalReading reading;
    reading.simType = simType;
    reading.lapReportingMethod = lapReportingMethod;
    reading.decimalSeparator = league.GetProgram().DecimalSeparator();
    reading.keepPrintedPoints =
        simType == Simulation::NascarLegends && !league.Settings().useCustomPointSystem;
    reading.nameSize = db.DeclaredSize("STNRace", "Name");
    reading.fileNameSize = db.DeclaredSize("STNRace", "FileName");
    reading.raceTimeSize = db.DeclaredSize("STNRace", "RaceTime");
    reading.avgSpeedSize = db.DeclaredSize("STNRace", "AvgSpeed");
    reading.marginSize = db.DeclaredSize("STNRace", "VictoryMargin");
    reading.weatherSize = db.DeclaredSize("STNRace", "Weather");
    reading.isExcluded = [&db](const std::string& driver) {
        return IsDriverNameExcluded(db, driver);
    };
    return reading;
}

StagingResult StageRaceFinal(League& league, const PointTable& pointTable,
                             const std::string& fileName, const ParsedRaceFinal& race,
                             Simulation simType) {
    Database& db = league.Db();
    const bool customPoints = league.Settings().useCustomPointSystem;
    StagingResult result;
    try {
        Transaction transaction(db);
        db.Execute("INSERT INTO STNRace (Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                   "VictoryMargin, Cautions, LeadChanges, Weather) VALUES (?,?,?,?,?,?,?,?,?,?)",
                   {TextOrNull(race.name), Value(race.fileName), Value(race.length),
                    Value(race.laps), TextOrNull(race.raceTime), TextOrNull(race.avgSpeed),
                    TextOrNull(race.victoryMargin), race.cautions ? Value(*race.cautions) : Value(),
                    race.leadChanges ? Value(*race.leadChanges) : Value(),
                    TextOrNull(race.weather)});
        const auto raceId = static_cast<std::int32_t>(db.LastInsertRowId());
        Statement insert(db, "INSERT INTO STNStats (STNRaceID, Finish, Start, DriverName, "
                             "LapsRun, LapsLed, Points, Qualifying, ReasonOut, PrizeMoney, Bonus) "
                             "VALUES (?,?,?,?,?,?,?,?,?,?,0)");
        for (const RaceFinalResult& line : race.results) {
            PositionScore score;
            if (line.printedPoints) {
                score.points = Value(*line.printedPoints);
            } else {
                score = ScorePosition(pointTable, line.finish, 0, customPoints);
            }
            insert.Run({Value(raceId), Value(line.finish), Value(line.start), Value(line.driver),
                        Value(line.lapsRun), Value(line.lapsLed), score.points,
                        Value(line.qualifying), TextOrNull(line.reasonOut), score.prizeMoney});
            ++result.drivers;
        }
        ApplyBonusPoints(league, simType, raceId, true);
        transaction.Commit();
        result.stnRaceId = raceId;
        return result;
    } catch (const TransactionLost&) {
        throw; // the whole action is over, not only this file
    } catch (const DbError& e) {
        return Refused(fileName, "The league file could not take the race: " + PlainReason(e));
    } catch (const std::exception& e) {
        return Refused(fileName, e.what());
    }
}

StagingResult ImportSTNFile(League& league, const PointTable& pointTable,
                            const std::string& fileName, Simulation simType,
                            LapReportingMethod lapReportingMethod) {
    std::string bytes;
    try {
        bytes = ReadBytes(fileName);
    } catch (const Refusal& e) {
        return Refused(fileName, e.what());
    }
    RaceFinalParse parse;
    try {
        parse = ParseRaceFinal(fileName, std::move(bytes),
                               LeagueReading(league, simType, lapReportingMethod));
    } catch (const TransactionLost&) {
        throw; // the whole action is over, not only this file
    } catch (const DbError& e) {
        return Refused(fileName, "The league file could not take the race: " + PlainReason(e));
    }
    if (!parse.race) {
        return Refused(fileName, parse.message);
    }
    return StageRaceFinal(league, pointTable, fileName, *parse.race, simType);
}

} // namespace scorewell
