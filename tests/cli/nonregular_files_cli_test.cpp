// The terminal commands against special files and limits: FIFOs and devices
// where text files, the rename log or the settings file are expected, and a
// file-size limit during a save. Nothing hangs; each refusal is reported.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "cli/commands.h"
#include "support/child_process.h"
#include "support/cli_run.h"

namespace tandrel {
namespace {

using namespace test;
namespace fs = std::filesystem;

class SpecialFilesCliTest : public CliTest {
protected:
    // Runs the command in a child; its streams are written to files there.
    struct Guarded {
        ChildOutcome outcome;
        std::string out, err;
    };
    Guarded Run(const std::vector<std::string>& args) {
        Guarded g;
        g.outcome = RunInChild([&] {
            const CliRun run = RunCommand(RunCli, args);
            tmp.Write("run.out", run.out);
            tmp.Write("run.err", run.err);
            return run.code;
        }, std::chrono::seconds(20));
        g.out = ReadAll(tmp / "run.out");
        g.err = ReadAll(tmp / "run.err");
        return g;
    }
};

TEST_F(SpecialFilesCliTest, InsideSearchSkipsAFifoAndADeviceNamedLikeTextFiles) {
    tmp.Write("m/a.txt", "x marks\r\n");
    ASSERT_EQ(::mkfifo((tmp / "m/fifo.txt").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", tmp / "m/zero.txt");
    const Guarded g = Run({"search", "x", tmp / "m", "--inside", "--mask", "*.txt"});
    ASSERT_TRUE(g.outcome.finished) << "search --inside hangs on a FIFO or a device";
    EXPECT_EQ(g.outcome.exitCode, 0);
    EXPECT_EQ(g.out, "x marks \t[" + tmp / "m/a.txt]\n");
    EXPECT_NE(g.err.find("fifo.txt\": it is not a regular file"), std::string::npos) << g.err;
    EXPECT_NE(g.err.find("zero.txt\": it is not a regular file"), std::string::npos) << g.err;
}

TEST_F(SpecialFilesCliTest, RenameBackRefusesAFifoAsTheRenameLog) {
    tmp.Write("d/Elka.mp3", "1");
    ASSERT_EQ(::mkfifo((tmp / "d/rename.ini").c_str(), 0644), 0);
    const Guarded g = Run({"rename-back", "renamed", tmp / "d"});
    ASSERT_TRUE(g.outcome.finished) << "rename-back hangs on a FIFO named rename.ini";
    EXPECT_TRUE(fs::exists(tmp / "d/Elka.mp3"));
    EXPECT_TRUE(fs::is_fifo(tmp / "d/rename.ini"));
}

TEST_F(SpecialFilesCliTest, ASettingsFileThatIsAFifoOrALinkToDevZeroIsReportedAtStart) {
    for (const char* kind : {"fifo", "/dev/zero"}) {
        const std::string reg = tmp / "config/Tandrel/registry.reg";
        fs::create_directories(fs::path(reg).parent_path());
        fs::remove(reg);
        if (std::string(kind) == "fifo")
            ASSERT_EQ(::mkfifo(reg.c_str(), 0644), 0);
        else
            fs::create_symlink(kind, reg);
        tmp.Write("m/a.txt", "x\r\n");
        for (const std::vector<std::string>& args : {std::vector<std::string>{"search", "x", tmp / "m"},
                                                    std::vector<std::string>{"rename", "lower", tmp / "m"}}) {
            const Guarded g = Run(args);
            ASSERT_TRUE(g.outcome.finished) << args[0] << " hangs on a " << kind << " as the settings file";
            EXPECT_EQ(g.outcome.exitCode, 1) << args[0] << " " << kind;
            EXPECT_NE(g.err.find("the settings cannot be read"), std::string::npos) << g.err;
        }
    }
}

// The real program under a file-size limit smaller than the file it saves:
// the write fails, is reported, the file keeps its bytes and no temporary
// file is left. Without the signal ignored the program died from SIGXFSZ.
TEST_F(SpecialFilesCliTest, ASaveBeyondTheFileSizeLimitFailsWithAnErrorInsteadOfKillingTheProgram) {
    const std::string song = tmp.Write("m/big.mp3", std::string(64 * 1024, '\x55'));
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit limit{16 * 1024, 16 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string out = tmp / "cli.err";
        if (!::freopen(out.c_str(), "w", stderr)) ::_exit(97);
        ::execl(TANDREL_CLI_BINARY, "tandrel-cli", "tag", "update", song.c_str(), "--tags", "2", "--title", "X",
                static_cast<char*>(nullptr));
        ::_exit(98);
    }
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadAll(tmp / "cli.err").find("File too large"), std::string::npos) << ReadAll(tmp / "cli.err");
    EXPECT_EQ(ReadAll(song), std::string(64 * 1024, '\x55'));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(tmp / "m")) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"big.mp3"});
}

}  // namespace
}  // namespace tandrel
