// Starting programs from the tests on Linux and other POSIX systems.
#ifndef _WIN32

#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace scorewell::test {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot create a pipe");
        }
        read = fds[0];
        write = fds[1];
    }
};

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// Starts the program with its standard streams on the pipes. posix_spawn, not fork: forking a
// test built with AddressSanitizer copies its huge shadow mappings, which costs more than most
// of the commands it starts.
pid_t Start(const std::string& program, const std::vector<std::string>& args, Pipe& in, Pipe& out,
            Pipe& err, const std::optional<unsigned long long>& fileSizeLimit) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.read, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    // The child inherits the limit; this process holds it only while starting it and writes
    // nothing meanwhile.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (fileSizeLimit) {
        rlimit limit = saved;
        limit.rlim_cur = static_cast<rlim_t>(*fileSizeLimit);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            throw std::runtime_error("cannot set the file size limit");
        }
    }
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    if (fileSizeLimit) {
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    CloseFd(in.read);
    CloseFd(out.write);
    CloseFd(err.write);
    return pid;
}

void DecodeStatus(int status, ProcessResult& result) {
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
}

// Reads both descriptors to their end, whichever has something first, and closes them.
void ReadToEnd(int fds[2], std::string* sinks[2]) {
    while (fds[0] >= 0 || fds[1] >= 0) {
        pollfd polls[2] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}};
        if (poll(polls, 2, -1) < 0) {
            continue; // interrupted by a signal
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i] >= 0 && (polls[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                char buffer[4096];
                const ssize_t n = read(fds[i], buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    CloseFd(fds[i]);
                }
            }
        }
    }
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    return ChildProcess(program, args, options.fileSizeLimit).Wait();
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           std::optional<unsigned long long> fileSizeLimit) {
    Pipe in, out, err;
    pid_ = Start(program, args, in, out, err, fileSizeLimit);
    in_ = in.write;
    out_ = out.read;
    err_ = err.read;
}

ChildProcess::~ChildProcess() {
    if (!reaped_) {
        Kill(SIGKILL);
        Wait();
    }
    CloseFd(in_);
    CloseFd(out_);
    CloseFd(err_);
}

bool ChildProcess::Running() {
    if (reaped_) {
        return false;
    }
    const pid_t done = waitpid(pid_, &status_, WNOHANG);
    if (done == pid_) {
        reaped_ = true;
        DecodeStatus(status_, result_);
    }
    return !reaped_;
}

void ChildProcess::Kill(int signal) {
    if (!reaped_) {
        kill(pid_, signal);
    }
}

ProcessResult ChildProcess::Wait() {
    CloseFd(in_);
    int fds[2] = {out_, err_};
    std::string* sinks[2] = {&result_.out, &result_.err};
    ReadToEnd(fds, sinks);
    out_ = err_ = -1;
    if (!reaped_) {
        while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
        DecodeStatus(status_, result_);
    }
    return result_;
}

bool HasFileSizeLimits() {
    return true;
}

bool MakeNamedPipe(const std::string& path) {
    if (mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("cannot make the named pipe " + path);
    }
    return true;
}

bool PermissionBitsBind() {
    return geteuid() != 0;
}

} // namespace scorewell::test

#endif
