// The window tells when its settings file cannot be read at start or written at exit.
#include <sys/stat.h>

#include <filesystem>

#include "window_fixture.h"

namespace tandrel::test {
namespace {

bool AnyHolds(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos) return true;
    return false;
}

TEST_F(WindowTest, AFifoAsTheSettingsFileIsReportedAtStartAndAtExitAndStaysAFifo) {
    const std::string reg = DefaultRegistryPath();
    std::filesystem::create_directories(std::filesystem::path(reg).parent_path());
    ASSERT_EQ(::mkfifo(reg.c_str(), 0644), 0);
    Start();  // returns: the FIFO is not opened
    const std::vector<std::string> atStart = prompter.Texts(PromptKind::Message);
    ASSERT_EQ(atStart.size(), 1u);
    EXPECT_TRUE(AnyHolds(atStart, "The settings cannot be read")) << atStart[0];
    EXPECT_TRUE(AnyHolds(atStart, "not a regular file")) << atStart[0];

    CloseAppWindows(windows, prompter);
    const std::vector<std::string> atExit = prompter.Texts(PromptKind::Message);
    ASSERT_EQ(atExit.size(), 2u);
    EXPECT_TRUE(AnyHolds({atExit[1]}, "The settings were not saved")) << atExit[1];
    struct stat st {};
    ASSERT_EQ(::lstat(reg.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(WindowTest, ASettingsFolderThatCannotBeWrittenIsReportedAtExit) {
    WriteRegistry("\"LangIndex\"=dword:00000000\r\n");
    Start();
    EXPECT_EQ(prompter.Count(PromptKind::Message), 0u);
    // A folder in the place of the file: the exit save cannot replace it.
    const std::string reg = DefaultRegistryPath();
    std::filesystem::remove(reg);
    std::filesystem::create_directory(reg);
    CloseAppWindows(windows, prompter);
    ASSERT_EQ(prompter.Count(PromptKind::Message), 1u);
    EXPECT_TRUE(AnyHolds(prompter.Texts(PromptKind::Message), "The settings were not saved"));
}

}  // namespace
}  // namespace tandrel::test
