#pragma once

// The set-up of the tests that drive the command line: a program folder of their own in a fresh
// temporary folder, and leagues of the demo season made through the command line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Database.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell::test {

// The demo season's race finals.
inline const std::string kDemo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";
inline const std::vector<std::string> kDemoFiles = {
    kDemo + "01-harbor-point-400.stn", kDemo + "02-millbrook-500.stn",
    kDemo + "03-cedar-valley-250.stn", kDemo + "04-gulf-coast-305.stn",
    kDemo + "05-ironwood-300.stn",     kDemo + "06-sable-creek-186.stn"};

class CliFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::string prog = dir.File("prog");

    // The command line, with the test's program folder.
    ProcessResult Cli(std::vector<std::string> args, const ProcessOptions& options = {}) {
        args.insert(args.begin(), {"--program-folder", prog});
        return RunCli(args, options);
    }
    // A new NASCAR Racing 3 league at path, holding the demo season's first races.
    void MakeDemoLeague(const std::string& path, std::size_t races) {
        ASSERT_EQ(Cli({"new", path, "--sim", "0"}).exitCode, 0);
        std::vector<std::string> args = {"import", path};
        args.insert(args.end(), kDemoFiles.begin(),
                    kDemoFiles.begin() + static_cast<std::ptrdiff_t>(races));
        const auto r = Cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
};

} // namespace scorewell::test
