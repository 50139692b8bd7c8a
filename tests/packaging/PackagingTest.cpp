#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

const std::string kResources = std::string(SCOREWELL_SOURCE_DIR) + "/resources/";

// The options a text names: words that start with one or two hyphens.
std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option(R"((?:^|[\s\[(|,])(--?[a-z][a-z0-9-]*))");
    std::set<std::string> options;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
        options.insert((*it)[1]);
    }
    return options;
}

// A manual page's sections (.SH) or the subsections (.SS) of one, by title, with troff's
// escaped hyphens as plain ones.
std::map<std::string, std::string> Sections(const std::string& page, const std::string& macro) {
    std::map<std::string, std::string> sections;
    std::string* current = nullptr;
    std::istringstream lines(std::regex_replace(page, std::regex(R"(\\-)"), "-"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(macro + " ", 0) == 0) {
            current = &sections[line.substr(macro.size() + 1)];
        } else if (current) {
            *current += line + "\n";
        }
    }
    return sections;
}

// The options a section of a manual page explains: those of its tagged paragraphs' tags.
std::set<std::string> TaggedOptions(const std::string& section) {
    std::set<std::string> options;
    std::istringstream lines(section);
    for (std::string line, previous; std::getline(lines, line); previous = line) {
        if (previous == ".TP") {
            const std::set<std::string> named = OptionsIn(line);
            options.insert(named.begin(), named.end());
        }
    }
    return options;
}

// The options the program's --help explains: the lines that start with one.
std::set<std::string> ExplainedOptions(const std::string& help) {
    std::set<std::string> options;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  -", 0) == 0) {
            const std::set<std::string> named = OptionsIn(line.substr(0, line.find("  ", 2)));
            options.insert(named.begin(), named.end());
        }
    }
    return options;
}

void ExpectSameOptions(const std::set<std::string>& program, const std::set<std::string>& manual) {
    EXPECT_EQ(program, manual) << "the options of the program, then of its manual page";
}

TEST(ManualPages, TheCommandLinesPageDescribesEveryCommandAndOptionAndNoOther) {
    const std::string page = test::ReadFileBytes(kResources + "man/scorewell-cli.1");
    const std::map<std::string, std::string> sections = Sections(page, ".SH");
    ASSERT_TRUE(sections.count("OPTIONS") && sections.count("COMMANDS"));
    const test::ProcessResult help = test::RunCli({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    ExpectSameOptions(ExplainedOptions(help.out), TaggedOptions(sections.at("OPTIONS")));

    std::map<std::string, std::string> described = Sections(sections.at("COMMANDS"), ".SS");
    std::istringstream usage(help.out.substr(help.out.find('\n') + 1));
    for (std::string line; std::getline(usage, line) && line.rfind("  ", 0) == 0;) {
        const std::string command = line.substr(2, line.find(' ', 2) - 2);
        SCOPED_TRACE(command);
        auto it = described.find(command);
        if (it == described.end()) {
            ADD_FAILURE() << "the manual page does not describe it";
            continue;
        }
        ExpectSameOptions(OptionsIn(line), TaggedOptions(it->second));
        described.erase(it);
    }
    for (const auto& [command, text] : described) {
        ADD_FAILURE() << "the manual page describes \"" << command << "\", which does not exist";
    }
}

TEST(ManualPages, TheDesktopProgramsPageDescribesEveryOptionAndNoOther) {
#ifndef SCOREWELL_GUI_PATH
    GTEST_SKIP() << "built without the desktop program";
#else
    const std::string page = test::ReadFileBytes(kResources + "man/scorewell.1");
    const test::ProcessResult help = test::RunProcess(SCOREWELL_GUI_PATH, {"--help"});
    ASSERT_EQ(help.exitCode, 0) << help.err;
    const std::map<std::string, std::string> sections = Sections(page, ".SH");
    ASSERT_TRUE(sections.count("OPTIONS"));
    ExpectSameOptions(ExplainedOptions(help.out), TaggedOptions(sections.at("OPTIONS")));
#endif
}

// The value of a key of a desktop file, or of an element of an XML file (first one).
std::string Entry(const std::string& text, const std::string& pattern) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? std::string(match[1]) : "";
}

// The width and height a PNG file's header gives.
std::pair<unsigned, unsigned> PngSize(const std::string& bytes) {
    auto word = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + 4 && i < bytes.size(); ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[i]);
        }
        return value;
    };
    return {word(16), word(20)};
}

TEST(DesktopIntegration, DesktopFileFileTypeMetainfoAndIconsAgree) {
    const std::string id = SCOREWELL_APP_ID;
    const std::string desktop = test::ReadFileBytes(kResources + id + ".desktop");
    const std::string mime = test::ReadFileBytes(kResources + "scorewell-mime.xml");
    const std::string metainfo = test::ReadFileBytes(kResources + id + ".metainfo.xml");

    // That the installed desktop knows the file type, and gives leagues to the program, the
    // package check sees (tools/package-check.sh).
    const std::string type = Entry(mime, R"(<mime-type type="([^"]+)\")");
    EXPECT_EQ(Entry(desktop, R"(\nExec=([^\n]*))"), "scorewell %f");

    EXPECT_EQ(Entry(metainfo, "<id>([^<]*)</id>"), id);
    EXPECT_EQ(Entry(metainfo, "<launchable type=\"desktop-id\">([^<]*)<"), id + ".desktop");
    EXPECT_EQ(Entry(metainfo, "<mediatype>([^<]*)<"), type);
    // The newest release comes first, and it is the one being built.
    EXPECT_EQ(Entry(metainfo, "<release version=\"([^\"]*)\""), SCOREWELL_VERSION)
        << "add a release to the metainfo file";

    const std::string icon = Entry(desktop, R"(\nIcon=([^\n]*))");
    EXPECT_EQ(Entry(mime, R"(<icon name="([^"]+)\")"), icon);
    EXPECT_TRUE(std::filesystem::is_regular_file(kResources + "icons/" + icon + ".svg"));
    for (unsigned size : {16u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string file = kResources + "icons/" + std::to_string(size) + "x" +
                                 std::to_string(size) + "/" + icon + ".png";
        EXPECT_EQ(PngSize(test::ReadFileBytes(file)), std::make_pair(size, size)) << file;
    }
}

#ifdef SCOREWELL_GUI_PATH
// The user guide the desktop program's --help names, or nothing.
std::string GuideOf(const std::string& program) {
    const test::ProcessResult help = test::RunProcess(program, {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    return Entry(help.out, "\nThe user guide: ([^\n]*)\n");
}

TEST(Installation, TheProgramsFindTheirGuideInTheBuildFolderAndWhereverTheyAreInstalled) {
    const std::string built = std::filesystem::path(SCOREWELL_GUI_PATH).parent_path();
    EXPECT_EQ(GuideOf(SCOREWELL_GUI_PATH), built + "/ReadMe.htm");

    test::TempDir dir;
    // The programs see their folder with every link resolved.
    const std::string root = std::filesystem::canonical(dir.Path()).string();
    const test::ProcessResult install = test::RunProcess(
        CMAKE_COMMAND, {"--install", SCOREWELL_BINARY_DIR, "--prefix", root + "/opt"});
    ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
    const std::string guide = "/" SCOREWELL_INSTALL_DATADIR "/scorewell/ReadMe.htm";
    EXPECT_EQ(GuideOf(root + "/opt/" SCOREWELL_INSTALL_BINDIR "/scorewell"), root + "/opt" + guide);
    // Unpacked somewhere else, as the tarball may be.
    std::filesystem::rename(root + "/opt", root + "/moved");
    EXPECT_EQ(GuideOf(root + "/moved/" SCOREWELL_INSTALL_BINDIR "/scorewell"),
              root + "/moved" + guide);
    const test::ProcessResult version =
        test::RunProcess(root + "/moved/" SCOREWELL_INSTALL_BINDIR "/scorewell-cli", {"--version"});
    EXPECT_EQ(version.out, "scorewell-cli " SCOREWELL_VERSION "\n");
}
#endif

} // namespace
} // namespace scorewell
