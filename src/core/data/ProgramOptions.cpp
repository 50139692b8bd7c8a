#include "data/ProgramOptions.h"

#include "common/Errors.h"
#include "common/Numbers.h"
#include "data/Settings.h"
#include "data/SimulationFolders.h"

namespace scorewell {

namespace {

constexpr int kOpenLastFile = 11;
constexpr int kUseBGImage = 100;
constexpr int kBGImage = 101;
constexpr int kFirstColor = 102;

std::string SettingText(Database& db, int id) {
    std::string value = ReadSetting(db, id);
    return value == kMissingSetting ? std::string() : value;
}

} // namespace

ProgramOptions LoadProgramOptions(Program& program) {
    Database& db = program.Db();
    ProgramOptions options;
    options.simPath = program.SimPath();
    options.openLastFile = ReadSettingFlag(db, kOpenLastFile);
    options.useBGImage = ReadSettingFlag(db, kUseBGImage);
    options.bgImage = SettingText(db, kBGImage);
    for (std::size_t i = 0; i < options.colors.size(); ++i) {
        options.colors[i] =
            ReadSettingColor(db, kFirstColor + static_cast<int>(i)).value_or(kDefaultPageColors[i]);
    }
    return options;
}

void StoreProgramOptions(Program& program, const ProgramOptions& options) {
    Database& db = program.Db();
    Transaction t(db);
    auto write = [&](int id, std::string_view value) {
        if (!WriteSetting(db, id, value)) {
            throw ScorewellError("The options could not be saved in the program database \"" +
                                 db.Path() + "\".");
        }
    };
    for (std::size_t i = 0; i < options.simPath.size(); ++i) {
        write(SimulationFolderSetting(static_cast<int>(i)), options.simPath[i]);
    }
    write(kUseBGImage, options.useBGImage ? "True" : "False");
    write(kBGImage, options.bgImage);
    for (std::size_t i = 0; i < options.colors.size(); ++i) {
        write(kFirstColor + static_cast<int>(i), ColorText(options.colors[i]));
    }
    write(kOpenLastFile, options.openLastFile ? "True" : "False");
    t.Commit();
    for (std::size_t i = 0; i < options.simPath.size(); ++i) {
        program.SetSimPath(static_cast<int>(i), options.simPath[i]);
    }
}

std::string CheckSimulationFolders(const std::array<std::string, 3>& simPath) {
    // The order the dialog has always checked them in; a later failure has the last word.
    std::string message;
    for (int index : {1, 0, 2}) {
        if (auto invalid = CheckSimulationFolder(index, simPath[static_cast<std::size_t>(index)])) {
            message = *invalid;
        }
    }
    return message;
}

} // namespace scorewell
