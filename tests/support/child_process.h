// Running a piece of a test in a forked child process: for code that may hang
// (a read of a FIFO), that is killed on purpose (the crash tests), or that
// must run under limits of its own.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

namespace tandrel::test {

struct ChildOutcome {
    bool finished = false;  // ended by itself in time (exit or signal)
    int exitCode = -1;      // the body's result when it returned
    int signal = 0;         // the signal that ended it, 0 when it exited
};

// Runs body in a child that exits with its result; a child still running after
// timeout is killed and counts as not finished. Outside the sanitizer build the
// child's memory is limited, so a runaway read fails fast instead of filling
// the machine.
inline ChildOutcome RunInChild(const std::function<int()>& body,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const pid_t pid = ::fork();
    if (pid == 0) {
#if !defined(__SANITIZE_ADDRESS__)
        const rlimit memory{2ull << 30, 2ull << 30};
        ::setrlimit(RLIMIT_AS, &memory);
#endif
        ::_exit(body());
    }
    ChildOutcome outcome;
    if (pid < 0) return outcome;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    outcome.finished = true;
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

}  // namespace tandrel::test
