// The command line's transcripts in tests/fixtures/cli: each "## " heading there is one test, whose
// commands run in order in a fresh temporary folder and must print what follows them. The top of
// basics.txt tells how a transcript is written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "common/Paths.h"
#include "data/Database.h"
#include "support/CliFixture.h"
#include "support/Golden.h"
#include "support/Seasons.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

// The lines under one "## " heading, which stands at line of file.
struct Case {
    std::string file;
    std::string name;
    int line = 0;
    std::vector<std::string> lines;
};

// Words of a command line as a shell splits them: '...' and "..." quote, and $'...' quotes with
// the escapes \t, \xHH and \ before any other character.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    char quote = 0;
    bool escapes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (quote == 0 && line[i] == ' ') {
            continue;
        }
        if (quote == 0 && (i == 0 || line[i - 1] == ' ')) {
            words.emplace_back();
        }
        if (quote == 0 && (line[i] == '"' || line[i] == '\'' || line.compare(i, 2, "$'") == 0)) {
            escapes = line[i] == '$';
            quote = line[i += escapes ? 1 : 0];
        } else if (line[i] == quote) {
            quote = 0;
        } else if (quote == '\'' && escapes && line[i] == '\\') {
            const char e = line[++i];
            const std::string hex = e == 'x' ? line.substr(i + 1, 2) : "";
            words.back() += hex.empty() ? (e == 't' ? '\t' : e)
                                        : static_cast<char>(std::stoi(hex, nullptr, 16));
            i += hex.size();
        } else {
            words.back() += line[i];
        }
    }
    return words;
}

// Lines of output; those of the error stream start with "! ".
void AddLines(std::vector<std::string>& lines, const std::string& text, const std::string& prefix) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(prefix + line);
    }
    if (!text.empty() && text.back() != '\n') {
        lines.push_back("\\ No newline at end of file");
    }
}

// A line "..." stands for any number of lines, and "..." in a line for any text.
bool Like(const std::string& want, const std::string& got) {
    const std::size_t dots = want.find("...");
    if (dots == std::string::npos || got.compare(0, dots, want, 0, dots) != 0) {
        return want == got;
    }
    for (std::size_t at = dots; at <= got.size(); ++at) {
        if (Like(want.substr(dots + 3), got.substr(at))) {
            return true;
        }
    }
    return false;
}

bool Matches(const std::vector<std::string>& want, std::size_t i,
             const std::vector<std::string>& got, std::size_t j) {
    if (i == want.size()) {
        return j == got.size();
    }
    if (want[i] == "...") {
        return Matches(want, i + 1, got, j) || (j < got.size() && Matches(want, i, got, j + 1));
    }
    return j < got.size() && Like(want[i], got[j]) && Matches(want, i + 1, got, j + 1);
}

// The lines both start with, then the rest of what was expected (-) and of what came (+).
std::string Diff(const std::vector<std::string>& want, const std::vector<std::string>& got) {
    std::size_t same = 0;
    std::string diff;
    for (; same < want.size() && same < got.size() && want[same] == got[same]; ++same) {
        diff += "  " + want[same] + "\n";
    }
    for (std::size_t i = same; i < want.size(); ++i) {
        diff += "- " + want[i] + "\n";
    }
    for (std::size_t i = same; i < got.size(); ++i) {
        diff += "+ " + got[i] + "\n";
    }
    return diff;
}

class TranscriptTest : public test::CliFixture {
public:
    explicit TranscriptTest(Case c) : case_(std::move(c)) {}

    void TestBody() override {
        const std::vector<std::string>& lines = case_.lines;
        for (std::size_t i = 0; i < lines.size() && !IsSkipped() && !HasFatalFailure(); ++i) {
            if (lines[i].rfind("$ ", 0) != 0) {
                continue;
            }
            std::vector<std::string> words = Words(lines[i].substr(2));
            std::vector<std::string> want;
            for (std::string& word : words) {
                word = Expand(word);
            }
            for (std::size_t j = i + 1; j < lines.size() && lines[j].rfind("$ ", 0) != 0; ++j) {
                if (lines[j][0] != '#') {
                    want.push_back(Expand(lines[j]));
                }
            }
            while (!want.empty() && want.back().empty()) {
                want.pop_back();
            }
            test::ProcessResult r{0, 0, "", ""};
            Run(words, r);
            std::vector<std::string> got;
            AddLines(got, r.out, "");
            AddLines(got, r.err, "! ");
            if (r.exitCode != 0) {
                got.push_back("[exit " + std::to_string(r.exitCode) + "]");
            }
            if (!IsSkipped() && !Matches(want, 0, got, 0)) {
                ADD_FAILURE_AT(case_.file.c_str(), case_.line + 1 + static_cast<int>(i))
                    << lines[i] << "\n"
                    << Diff(want, got);
            }
        }
    }

private:
    Case case_;
    test::ProcessOptions options_;
    const std::map<std::string, std::string> variables_ = {
        {"TMP", dir.Path()},
        {"PROG", prog},
        {"FIXTURES", SCOREWELL_FIXTURES_DIR},
        {"GOLDEN", SCOREWELL_FIXTURES_DIR "/golden"},
        {"DEMO", SCOREWELL_SOURCE_DIR "/resources/demo"},
        {"CLI", SCOREWELL_CLI_PATH},
        {"VERSION", SCOREWELL_VERSION},
        {"TODAY", Database::CreateInMemory().Scalar("SELECT date('now', 'localtime')").AsText()}};

    // $NAME and the path after it, with this system's separators.
    std::string Expand(const std::string& text) const {
        static const std::regex variable(R"(\$([A-Z]+)([^\s"']*))");
        std::string out;
        std::size_t from = 0;
        for (std::sregex_iterator it(text.begin(), text.end(), variable), end; it != end; ++it) {
            const auto value = variables_.find((*it)[1]);
            std::string path =
                value == variables_.end() ? it->str() : value->second + (*it)[2].str();
            std::replace(path.begin(), path.end(), '/', test::kSeparator);
            out += text.substr(from, static_cast<std::size_t>(it->position()) - from) + path;
            from = static_cast<std::size_t>(it->position() + it->length());
        }
        return out + text.substr(from);
    }

    void Run(std::vector<std::string> w, test::ProcessResult& r) {
        const std::string name = w.at(0);
        const bool redirected = w.size() > 2 && w[w.size() - 2] == ">";
        const std::vector<std::string> args(w.begin() + 1, w.end() - (redirected ? 2 : 0));
        const std::string golden = Expand("$GOLDEN/");
        if (name == "scorewell-cli") {
            const bool ownFolder = std::count(w.begin(), w.end(), "--program-folder") != 0;
            r = ownFolder ? test::RunCli(args, options_) : Cli(args, options_);
        } else if (name == "sh") {
#ifdef _WIN32
            GTEST_SKIP() << "Windows has no /bin/sh";
#endif
            r = test::RunProcess("/bin/sh", args);
        } else if (name == "sqlite3") {
            Database db = Database::Open(w.at(1));
            for (Statement s(db, w.at(2)); s.Step(); r.out += "\n") {
                for (int i = 0; i < s.ColumnCount(); ++i) {
                    r.out += (i ? "|" : "") + s.Column(i).AsText();
                }
            }
        } else if (name == "ls") {
            std::set<std::string> names;
            for (const auto& entry : fs::directory_iterator(FileSystemPath(w.at(1)))) {
                names.insert(Utf8Path(entry.path().filename()));
            }
            for (const std::string& n : names) {
                r.out += n + "\n";
            }
        } else if (name == "cat") {
            r.out = test::ReadFileBytes(w.at(1));
        } else if (name == "cp") {
            fs::copy_file(FileSystemPath(w.at(1)), FileSystemPath(w.at(2)));
        } else if (name == "mkdir") {
            fs::create_directories(FileSystemPath(w.at(1)));
        } else if (name == "mkfifo" && !test::MakeNamedPipe(w.at(1))) {
            GTEST_SKIP() << "this system has no named pipes";
        } else if (name == "ulimit" && !test::HasFileSizeLimits()) {
            GTEST_SKIP() << "this system has no file size limits";
        } else if (name == "ulimit") {
            options_.fileSizeLimit = std::stoull(w.at(2)) * 1024;
        } else if (name == "make-cup1992-league") {
            test::CopyCup1992League(w.at(1));
        } else if (name == "cmp" && w.at(2).rfind(golden, 0) == 0) {
            // Compared, or written with SCOREWELL_WRITE_GOLDEN=1, as every golden file is.
            test::ExpectGolden(w.at(2).substr(golden.size()), test::ReadFileBytes(w.at(1)));
        } else if (name != "mkfifo") {
            FAIL() << "a transcript has no command " << name;
        }
        if (redirected) {
            test::WriteFileBytes(w.back(), r.out);
            r.out.clear();
        }
    }
};

// TestName for "Test name".
std::string Name(const std::string& text) {
    std::string name;
    bool start = true;
    for (const char c : text) {
        const bool alnum = std::isalnum(static_cast<unsigned char>(c)) != 0;
        if (alnum) {
            name += start ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        }
        start = !alnum;
    }
    return name;
}

const bool registered = [] {
    const std::string folder = std::string(SCOREWELL_FIXTURES_DIR) + "/cli";
    for (const auto& entry : fs::directory_iterator(FileSystemPath(folder))) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        const std::string file = Utf8Path(entry.path());
        std::istringstream in(test::ReadFileBytes(file));
        std::vector<Case> cases;
        int number = 0;
        for (std::string line; std::getline(in, line); ++number) {
            if (line.rfind("## ", 0) == 0) {
                cases.push_back({file, Name(line.substr(3)), number + 1, {}});
            } else if (!cases.empty()) {
                cases.back().lines.push_back(line);
            }
        }
        for (const Case& c : cases) {
            testing::RegisterTest(("Cli" + Name(Utf8Path(entry.path().stem()))).c_str(),
                                  c.name.c_str(), nullptr, nullptr, file.c_str(), c.line,
                                  [c] { return new TranscriptTest(c); });
        }
    }
    return true;
}();

} // namespace
} // namespace scorewell
