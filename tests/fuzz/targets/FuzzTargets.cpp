#include "FuzzTargets.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "import/HTMLParser.h"
#include "import/RaceFinal.h"

namespace scorewell::fuzz {

namespace {

CTracks MakeTracks() {
    CTracks tracks;
    tracks.Add("Millbrook Speedway", 2.5f, "Millbrook Speedway");
    tracks.Add("Harbor Point", 1.5f, "Harbor Point");
    tracks.Add("Short Track", 0.25f, "Short Track");
    return tracks;
}

} // namespace

int RaceFinal(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    RaceFinalReading reading;
    // Both lap reporting methods, the column limits of a new league, and a driver left out.
    reading.lapReportingMethod = static_cast<LapReportingMethod>(size % 2);
    reading.nameSize = reading.fileNameSize = 50;
    reading.raceTimeSize = 15;
    reading.avgSpeedSize = reading.marginSize = 10;
    reading.weatherSize = 20;
    reading.isExcluded = [](const std::string& driver) {
        return driver == "Left Out";
    };
    for (int simType = 0; simType < 3; ++simType) {
        reading.simType = static_cast<Simulation>(simType);
        reading.keepPrintedPoints = reading.simType == Simulation::NascarLegends;
        const RaceFinalParse parse = ParseRaceFinal("fuzz.stn", bytes, reading);
        if (parse.race.has_value() == !parse.message.empty()) {
            std::abort(); // a file is either read or refused with a message
        }
        if (!parse.race) {
            continue;
        }
        // Finishing positions count the kept lines from 1, and each line holds what the league
        // file will take.
        int finish = 0;
        for (const RaceFinalResult& result : parse.race->results) {
            if (result.finish != ++finish || result.driver.empty() || result.driver == "Left Out" ||
                result.printedPoints.has_value() != reading.keepPrintedPoints) {
                std::abort();
            }
        }
    }
    return 0;
}

int ExportedStandings(const std::uint8_t* data, std::size_t size) {
    static const CTracks tracks = MakeTracks();
    CHTMLParser parser;
    parser.InputFile = "fuzz.html";
    parser.TrackList = &tracks;
    const bool read =
        parser.ExecuteBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read == !parser.ErrMsg().empty()) {
        std::abort(); // a page is either read or refused with a message
    }
    return 0;
}

} // namespace scorewell::fuzz
