#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scorewell::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    int signal = 0;    // the signal that ended it, if one did
    std::string out;
    std::string err;
};

// How a process is started, beyond its arguments.
struct ProcessOptions {
    // RLIMIT_FSIZE in bytes: no file the process writes may grow beyond it (POSIX only).
    std::optional<unsigned long long> fileSizeLimit;
};

// Runs a program to its end with the given arguments, collecting its output.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

// Runs the built command line.
ProcessResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options = {});

// A process that runs alongside the test, killed or waited for; its standard input is empty. Killed
// when the object goes away while it still runs. POSIX only: the harnesses that kill programs
// midway do not run on Windows.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 std::optional<unsigned long long> fileSizeLimit = std::nullopt);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // True while the process has not ended (it is not reaped).
    bool Running();
    void Kill(int signal);
    // Waits for the end and gives everything it wrote.
    ProcessResult Wait();

private:
    int pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    ProcessResult result_;
};

// What the tests need of the system beyond starting programs. Each gives false where the
// system lacks the thing, and the tests that need it are skipped there with the reason.
// True when ProcessOptions::fileSizeLimit can be given (not on Windows).
bool HasFileSizeLimits();
// Makes a named pipe at path; false where the file tree has none (Windows).
bool MakeNamedPipe(const std::string& path);
// True when permission bits (chmod) bind this process: a POSIX system, not as the superuser.
bool PermissionBitsBind();

// True when the output carries a report of AddressSanitizer or UndefinedBehaviorSanitizer.
bool HasSanitizerReport(const std::string& text);

} // namespace scorewell::test
