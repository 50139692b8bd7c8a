#include "import/Tracks.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/SimulationFolders.h"

namespace scorewell {

namespace {

constexpr std::string_view kRegistered = "\xC2\xAE"; // "®" in UTF-8

bool ReadBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Lines end with CR LF, a lone LF or a lone CR.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

} // namespace

bool ReadTrackIni(CTracks& tracks, const std::string& path) {
    std::string bytes;
    if (!ReadBytes(NativePath(path), bytes)) {
        return false;
    }
    const std::string text = Cp1252ToUtf8(bytes);

    std::string name;
    float length = 0;
    bool inTrack = false;
    bool haveName = false;
    bool haveLength = false;
    for (std::string_view raw : Lines(text)) {
        const std::string line = Trim(raw);
        if (StartsWith(line, "[")) {
            const std::size_t close = line.find(']');
            if (close != std::string::npos) {
                inTrack = Trim(std::string_view(line).substr(1, close - 1)) == "track";
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inTrack || equals == std::string::npos) {
            continue;
        }
        const std::string key = Trim(std::string_view(line).substr(0, equals));
        const std::string value = Trim(std::string_view(line).substr(equals + 1));
        if (key == "track_name") {
            name = ReplaceAll(value, kRegistered, "");
            haveName = true;
        } else if (key == "track_length") {
            length = static_cast<float>(LeadingNumber(value));
            haveLength = true;
        }
        if (haveName && haveLength) {
            break;
        }
    }
    tracks.Add(name, length, name);
    return true;
}

CTracks LoadTrackCatalogue(const std::string& nr4Folder) {
    CTracks tracks;
    const std::string tracksFolder = FindNoCase(NativePath(nr4Folder), "tracks", true);
    if (tracksFolder.empty()) {
        return tracks;
    }

    std::vector<std::string> folders;
    std::error_code error;
    for (std::filesystem::directory_iterator it(FileSystemPath(tracksFolder), error), end;
         !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            folders.push_back(Utf8Path(it->path().filename()));
        }
    }
    std::sort(folders.begin(), folders.end());

    for (const std::string& folder : folders) {
        const std::string ini = FindNoCase(JoinPath(tracksFolder, folder), "track.ini");
        if (!ini.empty()) {
            ReadTrackIni(tracks, ini);
        }
    }
    return tracks;
}

const CTracks& TrackCatalogue(Program& program) {
    if (const CTracks* kept = program.KeptTrackCatalogue()) {
        return *kept;
    }
    return program.KeepTrackCatalogue(LoadTrackCatalogue(program.SimPath()[static_cast<std::size_t>(
        SimulationFolderIndex(Simulation::NascarRacing4))]));
}

} // namespace scorewell
