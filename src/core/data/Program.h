#pragma once

#include <array>
#include <memory>
#include <string>

#include "data/Database.h"

namespace scorewell {

class CTracks;

// What ails a program database file that cannot be used.
class ProgramDatabaseError : public std::runtime_error {
public:
    ProgramDatabaseError(std::string path, const std::string& message)
        : std::runtime_error(message), path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The program: its folder, the program database Tabulon.dat (open for the whole run), the
// simulation folders and the user's decimal separator.
class Program {
public:
    static constexpr const char* kDatabaseName = "Tabulon.dat";

    // The program folder: the executable's folder when it holds Tabulon.dat (portable use), else
    // the per-user folder (UserProgramFolder).
    static std::string DefaultFolder(const std::string& executableFolder);

    // Opens the program database of the folder (created when needed), creating it from the
    // built-in defaults when it is missing. Throws ProgramDatabaseError, naming the file, when the
    // file exists but is not a usable program database; the file is then left as it is.
    explicit Program(std::string folder, std::string decimalSeparator = ".");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Keeps a damaged program database beside it (its name + ".damaged", numbered when that
    // exists) and builds a new one from the defaults. Gives the name the old file was kept under.
    static std::string ReplaceFromDefaults(const std::string& folder);

    const std::string& Folder() const { return folder_; }
    std::string DatabasePath() const;
    Database& Db() { return db_; }
    const std::string& DecimalSeparator() const { return decimalSeparator_; }
    void SetDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }

    // Program folders of NASCAR Racing 3 (0), NASCAR Legends (1) and NASCAR Racing 4 (2), from
    // settings 0, 1 and 12.
    const std::array<std::string, 3>& SimPath() const { return simPath_; }
    void SetSimPath(int index, std::string folder);
    void LoadSimPaths();
    // True when none of the three folders is set.
    bool NoSimulationFolder() const;

    // The NASCAR Racing 4 track catalogue once read (TrackCatalogue of import/Tracks.h reads it
    // on first need); nullptr before.
    const CTracks* KeptTrackCatalogue() const { return tracks_.get(); }
    const CTracks& KeepTrackCatalogue(CTracks tracks);
    bool HasTrackCatalogue() const { return tracks_ != nullptr; }

private:
    std::string folder_;
    std::string decimalSeparator_;
    Database db_;
    std::array<std::string, 3> simPath_;
    std::unique_ptr<CTracks> tracks_;
};

// Builds a program database at path from the built-in defaults (written beside it under a temporary
// name, then renamed into place, so a half-written file is never left).
void CreateProgramDatabase(const std::string& path);

} // namespace scorewell
