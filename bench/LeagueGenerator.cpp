#include "LeagueGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <stdexcept>

#include "common/Paths.h"
#include "common/Text.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"

namespace scorewell::bench {

namespace {

// splitmix64: small, and the same numbers everywhere (the standard distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1.
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    // 0 to 1, 1 excluded.
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

private:
    std::uint64_t state_;
};

struct Track {
    const char* name;
    const char* shortName;
    double length;
    int laps;
    double speed; // a qualifying speed there
};

constexpr Track kTracks[] = {
    {"Harbor Point Speedway", "Harbor Point", 1.5, 267, 176.4},
    {"Millbrook Superspeedway", "Millbrook", 2.5, 200, 191.2},
    {"Cedar Valley Fairgrounds", "Cedar Valley", 0.625, 400, 118.9},
    {"Gulf Coast Motor Speedway", "Gulf Coast", 1.017, 300, 157.3},
    {"Ironwood Raceway", "Ironwood", 0.75, 400, 124.6},
    {"Sable Creek Road Course", "Sable Creek", 2.52, 74, 91.8},
    {"Pinecrest Mile", "Pinecrest", 1.0, 500, 149.5},
    {"Thunder Basin Oval", "Thunder Basin", 2.0, 200, 183.7},
};

constexpr const char* kFirstNames[] = {
    "Alma", "Bram", "Cleo",  "Dale",  "Esmé", "Finn", "Greta", "Hugo",  "Inès",  "Jonas",
    "Kip",  "Lena", "Marco", "Nadia", "Otto", "Pia",  "Quinn", "Renée", "Soren", "Tilda",
};
constexpr const char* kLastNames[] = {
    "Ashby",     "Brandt", "Caldwell", "Dufresne",  "Ekdahl",    "Fässler", "Grady",
    "Halvorsen", "Ingram", "Jessup",   "Kowalczyk", "Lindqvist", "Moreau",  "Nakamura",
    "Ødegård",   "Pruitt", "Quimby",   "Rasmussen", "Strand",    "Thorne",
};

constexpr const char* kDemoDrivers[] = {
    "Renée Fässler",  "Zoë Ødegård",    "Bram Okonkwo",    "Inès Caldwell",   "Wes Harlan",
    "Pip Castellano", "Tomasz O'Brien", "Dale Quimby",     "Luca Bertolini",  "Marisol Teague",
    "Hugo Lindqvist", "Amos Whitlock",  "Juniper Hale",    "Cyrus Pendleton", "Ottilie Brandt",
    "Wendell Ashby",  "Nadia Moreau",   "Soren Halvorsen", "Greta Nakamura",  "Kip Vandermeer",
};

constexpr const char* kReasonsOut[] = {"Engine",   "Crash",    "Overheating", "Transmission",
                                       "Handling", "Ignition", "Rear End",    "Valve"};
constexpr const char* kWeather[] = {"Sunny, 78°F", "Overcast, 61°F", "Partly cloudy, 71°F",
                                    "Clear, 84°F", "Hazy, 90°F",     "Cloudy, 66°F"};

std::string Format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

// As many decimals as fit the league's ten characters.
std::string SpeedText(double mph) {
    for (const char* pattern : {"%.3f mph", "%.2f mph", "%.1f mph"}) {
        std::string text = Format(pattern, mph);
        if (text.size() <= 10) {
            return text;
        }
    }
    return Format("%.0f", mph);
}

std::string RaceTimeText(double seconds) {
    const int whole = static_cast<int>(seconds);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%06.3f", whole / 3600, whole / 60 % 60,
                  std::fmod(seconds, 60.0));
    return buffer;
}

// The points printed beside each position: the classic scale, before bonuses.
int PrintedPoints(int position) {
    if (position == 1) {
        return 175;
    }
    if (position <= 6) {
        return 175 - 5 * (position - 1);
    }
    if (position <= 11) {
        return 150 - 4 * (position - 6);
    }
    return std::max(0, 130 - 3 * (position - 11));
}

RaceFinalRace MakeRace(const Track& track, const std::vector<int>& field,
                       const std::vector<std::string>& names, int simType, Random& random) {
    const int cars = static_cast<int>(field.size());
    RaceFinalRace race;
    race.simType = static_cast<Simulation>(simType);
    race.track = track.name;
    race.name = std::string(track.shortName) + " " +
                std::to_string(static_cast<int>(track.length * track.laps));
    race.length = track.length;
    race.laps = track.laps;

    std::vector<int> starts(static_cast<std::size_t>(cars));
    std::iota(starts.begin(), starts.end(), 1);
    for (int i = cars - 1; i > 0; --i) {
        std::swap(starts[static_cast<std::size_t>(i)],
                  starts[static_cast<std::size_t>(random.Below(i + 1))]);
    }

    // The last few drop out, the last of them first; the others finish, the back of the field
    // a lap or more down.
    const int dropped = 1 + random.Below(std::max(1, cars / 5));
    const int leadLap = std::max(1, (cars - dropped) / 2);
    int lapsDown = 0;
    int lapsSoFar = track.laps;
    std::vector<int> lapsRun(static_cast<std::size_t>(cars));
    for (int i = 0; i < cars; ++i) {
        if (i >= cars - dropped) {
            lapsSoFar = std::max(0, lapsSoFar - 1 - random.Below(std::max(1, track.laps / 4)));
            lapsRun[static_cast<std::size_t>(i)] = lapsSoFar;
        } else {
            if (i >= leadLap) {
                lapsDown += random.Below(2);
            }
            lapsSoFar = track.laps - lapsDown;
            lapsRun[static_cast<std::size_t>(i)] = lapsSoFar;
        }
    }

    // A few of the front runners share the laps led.
    std::vector<int> lapsLed(static_cast<std::size_t>(cars), 0);
    const int leaders = 1 + random.Below(std::min(5, cars));
    int left = track.laps;
    for (int l = 0; l < leaders && left > 0; ++l) {
        const int car = l == 0 ? 0 : random.Below(std::min(cars, 12));
        const int share = l == leaders - 1 ? left : 1 + random.Below(left);
        lapsLed[static_cast<std::size_t>(car)] += share;
        left -= share;
    }

    for (int i = 0; i < cars; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int driver = field[at];
        RaceFinalCar car;
        car.start = starts[at];
        car.carNumber = std::to_string(driver * 7 % 99 + 1);
        car.driver = names[static_cast<std::size_t>(driver)];
        car.lapsRun = lapsRun[at];
        car.lapsLed = std::min(lapsLed[at], car.lapsRun);
        car.points = PrintedPoints(i + 1);
        car.qualifying =
            Format("%.3f", track.speed * (1.0 - 0.0009 * (car.start - 1)) - random.Unit() * 0.05);
        car.reasonOut = i >= cars - dropped ? kReasonsOut[random.Below(8)] : "Running";
        race.cars.push_back(std::move(car));
    }

    const double average = track.speed * (0.78 + 0.1 * random.Unit());
    race.raceTime = RaceTimeText(track.length * track.laps / average * 3600.0);
    race.avgSpeed = SpeedText(average);
    race.victoryMargin = Format("%.3f sec", 0.05 + 3.0 * random.Unit());
    race.cautions = random.Below(10);
    race.leadChanges = leaders - 1 + random.Below(8);
    race.weather = kWeather[random.Below(6)];
    return race;
}

} // namespace

std::vector<RaceFinalRace> GenerateSeason(const SeasonShape& shape) {
    std::vector<std::string> names = shape.driverNames;
    for (int i = static_cast<int>(names.size()); i < shape.drivers; ++i) {
        // Every pair of names once before any repeats: 400 drivers at most.
        names.push_back(std::string(kFirstNames[i % 20]) + " " + kLastNames[(i / 20 + i) % 20]);
    }
    if (shape.carsPerRace > static_cast<int>(names.size())) {
        throw std::invalid_argument("more cars per race than drivers");
    }
    Random random(shape.seed);
    std::vector<int> pool(names.size());
    std::iota(pool.begin(), pool.end(), 0);
    std::vector<RaceFinalRace> races;
    races.reserve(static_cast<std::size_t>(shape.races));
    for (int r = 0; r < shape.races; ++r) {
        // The first cars of a partial shuffle are the field, in finishing order.
        for (int i = 0; i < shape.carsPerRace; ++i) {
            const int j = i + random.Below(static_cast<int>(pool.size()) - i);
            std::swap(pool[static_cast<std::size_t>(i)], pool[static_cast<std::size_t>(j)]);
        }
        const std::vector<int> field(pool.begin(), pool.begin() + shape.carsPerRace);
        races.push_back(MakeRace(kTracks[r % 8], field, names, shape.simType, random));
    }
    return races;
}

std::vector<RaceFinalRace> DemoSeason() {
    SeasonShape shape;
    shape.races = 6;
    shape.carsPerRace = 20;
    shape.drivers = 20;
    shape.seed = 2024;
    shape.driverNames.assign(std::begin(kDemoDrivers), std::end(kDemoDrivers));
    return GenerateSeason(shape);
}

std::string RaceFileName(int number, const RaceFinalRace& race) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d-", number);
    return prefix + ReplaceAll(ToLower(race.name), " ", "-") + ".stn";
}

std::vector<std::string> WriteSeason(const std::string& folder,
                                     const std::vector<RaceFinalRace>& races) {
    std::vector<std::string> paths;
    paths.reserve(races.size());
    int number = 0;
    for (const RaceFinalRace& race : races) {
        paths.push_back(JoinPath(folder, RaceFileName(++number, race)));
        WriteRaceFinal(paths.back(), race);
    }
    return paths;
}

void BuildLeague(Program& program, const std::string& path, const std::vector<std::string>& files,
                 int simType, int batch) {
    CreateLeagueFile(path, simType, 0, program.Db(), 0, 0);
    League league(program, path);
    const PointTable table = league.LoadPointTable();
    for (std::size_t first = 0; first < files.size(); first += static_cast<std::size_t>(batch)) {
        Transaction transaction(league.Db());
        ClearStaging(league);
        const std::size_t last = std::min(files.size(), first + static_cast<std::size_t>(batch));
        for (std::size_t i = first; i < last; ++i) {
            StagingResult staged =
                ImportSTNFile(league, table, files[i], static_cast<Simulation>(simType),
                              LapReportingMethod::Speed);
            if (!staged.Staged()) {
                throw std::runtime_error(staged.title + ": " + staged.message);
            }
        }
        ImportStagedRaces(league);
        ClearStaging(league);
        transaction.Commit();
    }
    league.Close();
}

} // namespace scorewell::bench
