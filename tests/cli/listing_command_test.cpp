#include "cli/commands.h"

#include <algorithm>

#include "support/cli_run.h"

namespace tandrel {
namespace {

class ListingCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        listing = tmp.Write("list.txt",
                            "/pub/music/rock/:\r\n"
                            "-rw-r--r-- 1 ftp ftp 4 Jan 01 12:30 Песня song.mp3\r\n"
                            "-rw-r--r-- 1 ftp ftp 4 Jan 01 12:30 other.mp3\r\n");
    }
    test::CliRun Run(const std::vector<std::string>& args) { return test::RunCommand(RunCli, args); }

    std::string listing;
};

TEST_F(ListingCliTest, PrintsHitsAsListedOrMapped) {
    test::CliRun run = Run({"search-listing", "SONG", listing});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "/pub/music/rock/:\n-rw-r--r-- 1 ftp ftp 4 Jan 01 12:30 Песня song.mp3\n");

    run = Run({"search-listing", "песня", listing, "--map", "/pub", "ftp://host:21"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "/pub/music/rock/:\nftp://host:21/music/rock/Песня song.mp3\n");

    // The registry's mapping applies unless the command line turns it off.
    WriteRegistry("\"FTPChangeAddFTPpath\"=dword:00000001\r\n\"FTPSourcePath\"=\"/pub\"\r\n\"FTPTargetPath\"=\"T\"\r\n");
    EXPECT_EQ(Run({"search-listing", "other", listing}).out, "/pub/music/rock/:\nT/music/rock/other.mp3\n");
    EXPECT_EQ(Run({"search-listing", "other", listing, "--no-map"}).out,
              "/pub/music/rock/:\n-rw-r--r-- 1 ftp ftp 4 Jan 01 12:30 other.mp3\n");
}

TEST_F(ListingCliTest, ExitCodesFollowTheTerminalConventions) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* errHas;  // a text the error stream holds ("" for none)
    };
    const std::string missing = tmp / "absent.txt";
    const Case cases[] = {
        {{"search-listing", "--help"}, 0, ""},
        {{"search-listing", "nothing-like-this", listing}, 0, ""},
        {{"search-listing", "song"}, 2, "usage: tandrel-cli search-listing"},
        {{"search-listing", "song", listing, "extra"}, 2, "usage:"},
        {{"search-listing", "song", listing, "--map", "/pub"}, 2, "--map needs SOURCE and TARGET"},
        {{"search-listing", "song", listing, "--bogus"}, 2, "unknown option --bogus"},
        {{"search-listing", "song", missing}, 1, "absent.txt"},
        {{"search-listing", "song", tmp.str()}, 1, tmp.str().c_str()},
    };
    for (const Case& c : cases) {
        const test::CliRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << c.args.back() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
        if (c.code == 1) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
        if (c.code != 0) {
            EXPECT_TRUE(run.out.empty()) << run.out;
        }
    }
    EXPECT_NE(Run({"search-listing", "--help"}).out.find("search-listing QUERY LISTING"), std::string::npos);
    EXPECT_EQ(Run({"search-listing", "--", "--map", listing}).code, 0);
}

}  // namespace
}  // namespace tandrel
