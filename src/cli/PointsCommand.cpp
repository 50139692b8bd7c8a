#include <algorithm>
#include <functional>
#include <limits>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Text.h"
#include "editing/PointSystem.h"
#include "scoring/Recalculation.h"

namespace scorewell::cli {

namespace {

using Step = std::function<void(LeaguePointSystem&)>;

// A whole number written with digits only, as the editor's boxes take them.
std::int64_t WholeArgument(const std::string& option, const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("The option " + option + " takes whole numbers, not \"" + text + "\".");
    }
    return std::stoll(text);
}

// Beyond what any position or points can be, so the range checks of the point system refuse it.
int Narrow(std::int64_t n) {
    return static_cast<int>(std::min<std::int64_t>(n, std::numeric_limits<int>::max()));
}

bool Switch(const std::string& option, const std::string& text) {
    if (text != "on" && text != "off") {
        throw UsageError("The option " + option + " takes on or off.");
    }
    return text == "on";
}

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

std::string Cell(const std::optional<std::int32_t>& cell) {
    return cell ? std::to_string(*cell) : std::string();
}

// The options that change the point system, in the order given, as steps on it.
std::vector<Step> ReadSteps(const std::vector<std::string>& words) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& option = words[i];
        auto values = [&](std::size_t count) {
            if (i + count >= words.size()) {
                throw UsageError("The option " + option + " needs " + std::to_string(count) +
                                 (count == 1 ? " value." : " values."));
            }
            std::vector<std::string> taken(words.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                           words.begin() + static_cast<std::ptrdiff_t>(i + count) +
                                               1);
            i += count;
            return taken;
        };
        if (option == "--positions") {
            const auto n = WholeArgument(option, values(1)[0]);
            steps.push_back(
                [n](LeaguePointSystem& s) { SetTotalPositions(s.positions, Narrow(n)); });
        } else if (option == "--fill" || option == "--fill-prize") {
            std::vector<std::int64_t> n;
            for (const std::string& v : values(4)) {
                n.push_back(WholeArgument(option, v));
            }
            const PointColumn column =
                option == "--fill" ? PointColumn::Points : PointColumn::PrizeMoney;
            steps.push_back([column, n](LeaguePointSystem& s) {
                FillPositions(s.positions, column, Narrow(n[0]), Narrow(n[1]), n[2], n[3]);
            });
        } else if (option == "--table") {
            // Read before the league is opened: a bad file changes nothing.
            PositionTable table = ReadPointTableCsv(values(1)[0]);
            steps.push_back([table](LeaguePointSystem& s) { s.positions = table; });
        } else if (option == "--custom" || option == "--custom-bonus") {
            const bool on = Switch(option, values(1)[0]);
            const bool points = option == "--custom";
            steps.push_back([on, points](LeaguePointSystem& s) {
                (points ? s.useCustomPoints : s.useCustomBonus) = on;
            });
        } else if (option == "--bonus") {
            const std::string value = values(1)[0];
            const std::size_t equals = value.rfind('=');
            if (equals == std::string::npos || Trim(value.substr(0, equals)).empty()) {
                throw UsageError("The option --bonus takes NAME=POINTS, not \"" + value + "\".");
            }
            const std::string name = Trim(value.substr(0, equals));
            const auto points = WholeArgument(option, Trim(value.substr(equals + 1)));
            steps.push_back([name, points](LeaguePointSystem& s) {
                std::string names;
                for (BonusRulePoints& rule : s.bonuses) {
                    if (EqualsNoCase(rule.name, name)) {
                        rule.points = Narrow(points);
                        return;
                    }
                    names += (names.empty() ? "\"" : ", \"") + rule.name + "\"";
                }
                throw ScorewellError("The league has no bonus rule \"" + name +
                                     "\"; its rules are " + (names.empty() ? "none" : names) + ".");
            });
        } else {
            throw UsageError("There is no option " + option + " here.");
        }
    }
    return steps;
}

void Show(Context& ctx, const LeaguePointSystem& system) {
    ctx.Print({"Pos", "Points", "Prize Money"});
    int position = 0;
    for (const PositionValues& row : system.positions) {
        ctx.Print({std::to_string(++position), Cell(row.points), Cell(row.prizeMoney)});
    }
    ctx.Print({"custom", OnOff(system.useCustomPoints)});
    ctx.Print({"custom-bonus", OnOff(system.useCustomBonus)});
    for (const BonusRulePoints& rule : system.bonuses) {
        ctx.Print({"bonus", rule.name, Cell(rule.points)});
    }
}

} // namespace

// Shows the league's point system, writes it as CSV, or changes it as the editor saves it.
int CommandPoints(Context& ctx, Arguments& args) {
    const bool csv = args.Flag("--csv");
    const bool recalc = args.Flag("--recalc");
    std::vector<std::string> words = args.Remaining();
    if (!words.empty() && StartsWith(words.front(), "--")) {
        throw UsageError("The command points needs a league file first.");
    }
    const std::string path = TakeLeague(words, "points");
    const std::vector<Step> steps = ReadSteps(words);
    if (csv && (recalc || !steps.empty())) {
        throw UsageError("The option --csv shows the table; it takes no changes.");
    }
    if (csv || (!recalc && steps.empty())) {
        League& league = ctx.OpenLeague(path, LeagueAccess::Read);
        const LeaguePointSystem system = ReadPointSystem(league.Db());
        if (csv) {
            ctx.PrintText(PointTableCsv(system.positions));
        } else {
            Show(ctx, system);
        }
        return 0;
    }

    League& league = ctx.OpenLeague(path);
    Database& db = league.Db();
    Transaction t(db);
    LeaguePointSystem system = ReadPointSystem(db);
    for (const Step& step : steps) {
        step(system);
    }
    SavePointSystem(league, system);
    int races = 0;
    if (recalc) {
        RecalculateAllRaces(league, [&](int done, int) { races = done; });
    } else {
        races = CountRacesChangedByRescoring(league);
    }
    t.Commit();
    ctx.Print({"saved", std::to_string(system.positions.size()) + " positions"});
    ctx.Print({recalc ? "recalculated" : "would change", std::to_string(races) + " races"});
    return 0;
}

} // namespace scorewell::cli
