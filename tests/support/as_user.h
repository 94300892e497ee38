// Runs a test step as an ordinary user, so that permissions hold as they do
// for the people who use the program: tests run as root here, and root reads
// and renames whatever it likes. As root the tree is handed to "nobody" and
// the step runs in a child process with that user's identity; otherwise it
// runs as it is. The step's result is the exit code (-1: the child died).
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace tandrel::test {

inline int RunAsUser(const std::string& tree, const std::function<int()>& step) {
    if (::geteuid() != 0) return step();
    constexpr uid_t kNobody = 65534;
    std::error_code ec;
    ::lchown(tree.c_str(), kNobody, kNobody);
    for (auto it = std::filesystem::recursive_directory_iterator(tree, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        ::lchown(it->path().c_str(), kNobody, kNobody);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(125);
        ::_exit(step());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace tandrel::test
