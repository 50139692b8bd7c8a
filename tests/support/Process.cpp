#include "support/Process.h"

namespace scorewell::test {

ProcessResult RunCli(const std::vector<std::string>& args, const ProcessOptions& options) {
    return RunProcess(SCOREWELL_CLI_PATH, args, options);
}

bool HasSanitizerReport(const std::string& text) {
    return text.find("Sanitizer") != std::string::npos ||
           text.find("runtime error:") != std::string::npos;
}

} // namespace scorewell::test
