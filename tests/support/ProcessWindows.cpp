// Starting programs from the tests on Windows.
#ifdef _WIN32

#include <windows.h>

#include <stdexcept>
#include <thread>

#include "common/Platform.h"
#include "support/Process.h"

namespace scorewell::test {

namespace {

// One argument as the C runtime's command line parser reads it back: quoted, with backslashes
// doubled only before a quote.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

struct Handle {
    HANDLE h = nullptr;
    ~Handle() { Close(); }
    void Close() {
        if (h) {
            CloseHandle(h);
            h = nullptr;
        }
    }
};

// A pipe whose end for the child is inherited and whose end for this process is not.
void MakePipe(Handle& read, Handle& write, bool childReads) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    if (!CreatePipe(&read.h, &write.h, &sa, 0)) {
        throw std::runtime_error("cannot create a pipe");
    }
    SetHandleInformation(childReads ? write.h : read.h, HANDLE_FLAG_INHERIT, 0);
}

void ReadAll(HANDLE h, std::string& sink) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        sink.append(buffer, n);
    }
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    if (options.fileSizeLimit) {
        throw std::logic_error("Windows has no file size limit for a process");
    }
    Handle inRead, inWrite, outRead, outWrite, errRead, errWrite;
    MakePipe(inRead, inWrite, true);
    MakePipe(outRead, outWrite, false);
    MakePipe(errRead, errWrite, false);

    std::wstring line;
    AppendQuoted(line, WideText(program));
    for (const std::string& a : args) {
        line += L' ';
        AppendQuoted(line, WideText(a));
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inRead.h;
    si.hStdOutput = outWrite.h;
    si.hStdError = errWrite.h;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(WideText(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        throw std::runtime_error("cannot start " + program);
    }
    CloseHandle(pi.hThread);
    inRead.Close();
    outWrite.Close();
    errWrite.Close();

    ProcessResult result;
    // Both streams are read at once, so that a child filling one pipe never waits on the other.
    std::thread errReader([&] { ReadAll(errRead.h, result.err); });
    // Nothing is written to its standard input: it reads the end at once.
    inWrite.Close();
    ReadAll(outRead.h, result.out);
    errReader.join();
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    result.exitCode = static_cast<int>(code);
    return result;
}

bool HasFileSizeLimits() {
    return false;
}

bool MakeNamedPipe(const std::string&) {
    return false;
}

bool PermissionBitsBind() {
    return false;
}

} // namespace scorewell::test

#endif
