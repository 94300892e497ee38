#include "platform/launcher.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/tempdir.h"

namespace tandrel {
namespace {

using Args = std::vector<std::string>;

TEST(DesktopExecArguments, QuotingAndFieldCodes) {
    struct Case { const char* exec; Args expected; };
    const Case cases[] = {
        {"vlc --started-from-file %U", {"vlc", "--started-from-file", "/m/a b.m3u"}},
        {"audacious -e %F", {"audacious", "-e", "/m/a b.m3u"}},
        {"\"/opt/My Player/play\" --file=%f", {"/opt/My Player/play", "--file=/m/a b.m3u"}},
        {"play \"say \\\"hi\\\" \\$HOME\"", {"play", "say \"hi\" $HOME", "/m/a b.m3u"}},  // no field code: appended
        {"player %i %c --100%% %k %u", {"player", "--100%", "/m/a b.m3u"}},
        {"player  \t %f", {"player", "/m/a b.m3u"}},
        {"\"unclosed %f", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(DesktopExecArguments(c.exec, "/m/a b.m3u"), c.expected) << c.exec;
}

// Waits until a file the started program writes holds the expected text.
std::string WaitForFile(const std::string& path, const std::string& expected) {
    for (int i = 0; i < 200; ++i) {
        const std::string text = test::ReadAll(path);
        if (text == expected) return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return test::ReadAll(path);
}

TEST(DesktopLauncher, StartsWithAnArgumentListAndOpensFilesWithTheRegisteredEntry) {
    test::TempDir tmp;
    const std::string out = tmp / "args.txt";
    const std::string player = tmp.Write("bin/player", "#!/bin/sh\nprintf '%s|' \"$@\" >> " + out + "\n");
    ::chmod(player.c_str(), 0755);
    std::unique_ptr<Launcher> launcher = MakeDesktopLauncher();

    // Arguments reach the program as they are: no shell splits or expands them.
    ASSERT_TRUE(launcher->StartDetached(player, {"/ADD", "a b; $HOME `x`"}));
    EXPECT_EQ(WaitForFile(out, "/ADD|a b; $HOME `x`|"), "/ADD|a b; $HOME `x`|");
    EXPECT_FALSE(launcher->StartDetached(tmp / "bin/none", {}));
    EXPECT_EQ(launcher->FindProgram(player), player);
    EXPECT_EQ(launcher->FindProgram(tmp / "bin/none"), "");
    EXPECT_NE(launcher->FindProgram("sh"), "");  // a bare name is looked up on the PATH

    // A playlist opens with the entry registered for its type, and a type
    // without one is refused with the reason.
    if (access("/usr/bin/xdg-mime", X_OK) != 0) GTEST_SKIP() << "xdg-mime is not installed";
    setenv("XDG_DATA_HOME", (tmp / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
    tmp.Write("data/applications/testplayer.desktop",
              "[Desktop Entry]\nType=Application\nName=Test\nExec=" + player + " --enqueue %F\n");
    tmp.Write("config/mimeapps.list", "[Default Applications]\naudio/x-mpegurl=testplayer.desktop\n");
    const std::string playlist = tmp.Write("list.m3u", "a.mp3\r\n");
    ::unlink(out.c_str());
    EXPECT_EQ(launcher->DefaultApplicationFor("audio/x-mpegurl"), "testplayer.desktop");
    ASSERT_TRUE(launcher->OpenDocument(playlist));
    EXPECT_EQ(WaitForFile(out, "--enqueue|" + playlist + "|"), "--enqueue|" + playlist + "|");
    const FileResult refused = launcher->OpenDocument(tmp.Write("clip.xyz-unknown", std::string("\0\x01\xFE", 3)));
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("No program is registered to open"), std::string::npos);
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tandrel
