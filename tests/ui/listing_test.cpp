#include <sys/stat.h>

#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

class ListingWindowTest : public test::WindowTest {
protected:
    // A listing of the settings (Manual Path) with mapping from /pub to T.
    void StartWithListing(const std::string& listing, int mode = 1) {
        WriteRegistry("\"FTPlocalFileMode\"=dword:0000000" + std::to_string(mode) + "\r\n\"FTPlocalFile\"=\"" + listing +
                      "\"\r\n\"FTPChangeAddFTPpath\"=dword:00000001\r\n\"FTPSourcePath\"=\"/pub\"\r\n"
                      "\"FTPTargetPath\"=\"T\"\r\n");
        Start();
    }
    void Find(const QString& query) {
        QLineEdit* edit = Control<QLineEdit>("edFind");
        edit->setText(query);
        Control<QPushButton>("bbtnFind")->click();
    }
    std::string Listing() {
        return tmp.Write("list.txt", "/pub/music/rock/:\n-rw-r--r-- 1 ftp ftp 4 Jan 01 12:30 song.mp3\n");
    }
};

TEST_F(ListingWindowTest, FindWithLocalFileCheckedFillsTheOutputFromTheListingOfTheSettings) {
    StartWithListing(Listing());
    Control<QCheckBox>("cbFTPlocal")->click();
    Find("SONG");
    EXPECT_EQ(form().documentName(), "file_001.txt");
    EXPECT_EQ(form().outputLines(), (Lines{"/pub/music/rock/:", "T/music/rock/song.mp3"}));
    EXPECT_TRUE(Control<QPushButton>("bbtnFind")->isEnabled());
    EXPECT_TRUE(Control<QLabel>("stFindInd")->isHidden());
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor), (Lines{"busy", "idle"}));
    EXPECT_FALSE(prompter.Texts(PromptKind::Progress).empty());

    // A query without a hit leaves the output as it was.
    Find("absent");
    EXPECT_EQ(form().outputLines(), (Lines{"/pub/music/rock/:", "T/music/rock/song.mp3"}));
}

TEST_F(ListingWindowTest, MenuAsksForTheListingUnlessTheSettingsNameIt) {
    const std::string listing = Listing();
    StartWithListing("", 0);
    QAction* menu = Action("mnFindlocal");
    ASSERT_TRUE(menu->isEnabled());
    Control<QLineEdit>("edFind")->setText("song");
    prompter.Cancel();
    menu->trigger();
    EXPECT_TRUE(form().documentName().empty());
    prompter.Text(listing);
    menu->trigger();
    EXPECT_EQ(prompter.Count(PromptKind::OpenFile), 2u);
    EXPECT_EQ(form().outputLines(), (Lines{"/pub/music/rock/:", "T/music/rock/song.mp3"}));
    EXPECT_TRUE(Control<QLabel>("stFindInd")->isHidden());
}

TEST_F(ListingWindowTest, ListingThatCannotBeReadEndsWithAMessageNamingIt) {
    const std::string fifo = tmp / "list.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    StartWithListing(fifo);
    Control<QCheckBox>("cbFTPlocal")->click();
    Find("song");
    const Lines messages = prompter.Texts(PromptKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("list.fifo"), std::string::npos) << messages[0];
    EXPECT_TRUE(form().documentName().empty());
    EXPECT_TRUE(Control<QPushButton>("bbtnFind")->isEnabled());
}

}  // namespace
}  // namespace tandrel
