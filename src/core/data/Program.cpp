#include "data/Program.h"

#include <filesystem>

#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/Defaults.h"
#include "data/ProgramUpgrade.h"
#include "data/Settings.h"
#include "data/Tracks.h"

namespace scorewell {

namespace {

constexpr const char* kRequiredTables[] = {"Settings",     "PointSystem", "Bonus",
                                           "RankCriteria", "Report",      "ReportField"};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

std::string Program::DefaultFolder(const std::string& executableFolder) {
    if (!executableFolder.empty() && FileExists(JoinPath(executableFolder, kDatabaseName))) {
        return executableFolder;
    }
    return UserProgramFolder();
}

void CreateProgramDatabase(const std::string& path) {
    const std::string temp = path + ".new";
    BuildAndReplaceFile(temp, path, [&] {
        Database db = Database::Create(temp);
        Transaction t(db);
        db.ExecuteScript(ProgramDatabaseDefaults());
        t.Commit();
    });
}

Program::Program(std::string folder, std::string decimalSeparator)
    : folder_(std::move(folder)), decimalSeparator_(std::move(decimalSeparator)) {
    const std::string path = DatabasePath();
    try {
        std::error_code ec;
        std::filesystem::create_directories(FileSystemPath(folder_), ec);
        if (!FileExists(path)) {
            CreateProgramDatabase(path);
        }
        db_ = Database::Open(path);
    } catch (const std::exception& e) {
        throw ProgramDatabaseError(path, "The program database " + Quoted(path) +
                                             " cannot be opened: " + e.what() + ".");
    }
    for (const char* table : kRequiredTables) {
        if (!db_.TableExists(table)) {
            db_.Close();
            throw ProgramDatabaseError(path, "The file " + Quoted(path) +
                                                 " is not a Scorewell program database: it has "
                                                 "no table " +
                                                 table + ".");
        }
    }
    try {
        UpgradeProgramDatabase(db_);
    } catch (const std::exception& e) {
        db_.Close();
        throw ProgramDatabaseError(path, "The program database " + Quoted(path) +
                                             " cannot be brought up to date: " + e.what() + ".");
    }
    LoadSimPaths();
}

Program::~Program() = default;

const CTracks& Program::KeepTrackCatalogue(CTracks tracks) {
    tracks_ = std::make_unique<CTracks>(std::move(tracks));
    return *tracks_;
}

std::string Program::ReplaceFromDefaults(const std::string& folder) {
    const std::string path = JoinPath(folder, kDatabaseName);
    std::string kept = path + ".damaged";
    for (int n = 2; FileExists(kept); ++n) {
        kept = path + ".damaged" + std::to_string(n);
    }
    if (FileExists(path)) {
        ReplaceFile(path, kept);
        RemoveFileIfExists(path + "-journal");
    }
    CreateProgramDatabase(path);
    return kept;
}

std::string Program::DatabasePath() const {
    return JoinPath(folder_, kDatabaseName);
}

void Program::LoadSimPaths() {
    const int ids[3] = {0, 1, 12};
    for (int i = 0; i < 3; ++i) {
        simPath_[static_cast<std::size_t>(i)] =
            RemoveChars(ReadSetting(db_, ids[i]), std::string(1, '\0'));
    }
}

void Program::SetSimPath(int index, std::string folder) {
    if (index >= 0 && index < 3) {
        simPath_[static_cast<std::size_t>(index)] = std::move(folder);
    }
}

bool Program::NoSimulationFolder() const {
    for (const std::string& p : simPath_) {
        if (!Trim(p).empty()) {
            return false;
        }
    }
    return true;
}

} // namespace scorewell
