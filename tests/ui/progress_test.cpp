// Long operations in the window: the progress line and Cancel in the status
// bar, Esc and Cancel stop them between two files, and no other input gets
// through while they run.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "app/language.h"
#include "platform/posix_file.h"
#include "ui/checklist.h"
#include "ui/directoryform.h"
#include "ui/filelists.h"
#include "ui/regions.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

constexpr int kDirectories = 10;
constexpr int kFilesEach = 40;

class ProgressWindowTest : public WindowTest {
protected:
    // A tree of 400 files, each found once by "song" by name or inside.
    void SetUp() override {
        WindowTest::SetUp();
        for (int d = 0; d < kDirectories; ++d)
            for (int f = 0; f < kFilesEach; ++f)
                tmp.Write("music/d" + std::to_string(d) + "/song" + std::to_string(f) + ".txt", "song\r\n");
        WriteRegistry("\"RecursiveSearch\"=dword:00000001\r\n");
    }
    void StartShown() {
        Start();
        form().show();
        Control<QCheckBox>("cbScanDir")->click();
    }
    void Find(const QString& query) {
        QLineEdit* edit = Control<QLineEdit>("edFind");
        edit->setText(query);
        Key(edit, Qt::Key_Return);
    }
    QPushButton* cancel() { return Control<QPushButton>("btnCancelOperation"); }
    QLabel* progressLine() { return Control<QLabel>("stProgress"); }
    // What the user saw at the first progress report, when the stop was asked for.
    struct Seen {
        bool asked = false;
        QString progress;
        bool cancelShown = false;
    };
    // At the first progress report: notes what shows and runs stop.
    void StopAtFirstReport(Seen& seen, std::function<void()> stop) {
        prompter.onProgress = [this, &seen, stop](const ProgressInfo&) {
            if (seen.asked) return;
            seen.asked = true;
            seen.progress = progressLine()->toolTip();
            seen.cancelShown = cancel()->isVisible() && progressLine()->isVisible();
            stop();
        };
    }
};

TEST_F(ProgressWindowTest, EscStopsASearchThatKeepsItsResultsAndSaysItWasCancelled) {
    StartShown();
    Find("song");
    ASSERT_EQ(form().searchResults().size(), static_cast<std::size_t>(kDirectories * kFilesEach));
    EXPECT_EQ(form().statusText().find("cancelled"), std::string::npos) << form().statusText();

    Seen seen;
    StopAtFirstReport(seen, [this] { Key(Control<QLineEdit>("edFind"), Qt::Key_Escape); });
    Find("song");
    ASSERT_TRUE(seen.asked);
    const std::size_t found = form().searchResults().size();
    EXPECT_GE(found, 1u);
    EXPECT_LT(found, static_cast<std::size_t>(kDirectories * kFilesEach));
    EXPECT_EQ(form().checkList().lines().size(), found);  // the output shows the partial results
    EXPECT_NE(form().statusText().find("Found: " + std::to_string(found)), std::string::npos) << form().statusText();
    EXPECT_NE(form().statusText().find("(cancelled by the user)"), std::string::npos) << form().statusText();
    // While it ran: the counts and the path in the status bar, and Cancel.
    EXPECT_TRUE(seen.cancelShown);
    EXPECT_TRUE(seen.progress.contains(" directories, ") || seen.progress.contains(" directory, "))
        << seen.progress.toStdString();
    EXPECT_TRUE(seen.progress.contains(QString::fromStdString(music + "/d"))) << seen.progress.toStdString();
    // Afterwards both are gone and the search box works as before.
    EXPECT_TRUE(cancel()->isHidden());
    EXPECT_TRUE(progressLine()->isHidden());
    EXPECT_TRUE(Control<QPushButton>("bbtnFind")->isEnabled());
    prompter.onProgress = nullptr;
    Find("song");
    EXPECT_EQ(form().searchResults().size(), static_cast<std::size_t>(kDirectories * kFilesEach));
}

TEST_F(ProgressWindowTest, CancelButtonStopsTheSearchAndOtherInputNeverReachesTheWindow) {
    StartShown();
    form().ApplyLanguage(kRussian);
    Seen seen;
    StopAtFirstReport(seen, [this] {
        // Another search, a menu shortcut and a click elsewhere: all held back.
        Key(Control<QLineEdit>("edFind"), Qt::Key_Return);
        Key(Control<QLineEdit>("edFind"), Qt::Key_Return, Qt::ControlModifier);
        QTest::mouseClick(Control<QPushButton>("bbtnFindDir"), Qt::LeftButton);
        QTest::mouseClick(Control<QCheckBox>("cbScanDir"), Qt::LeftButton);
        QTest::mouseClick(cancel(), Qt::LeftButton);
    });
    Find("song");
    ASSERT_TRUE(seen.asked);
    const std::size_t found = form().searchResults().size();
    EXPECT_GE(found, 1u);
    EXPECT_LT(found, static_cast<std::size_t>(kDirectories * kFilesEach));
    for (const std::string& line : form().searchResults()) EXPECT_NE(line.find("song"), std::string::npos) << line;
    EXPECT_TRUE(Control<QCheckBox>("cbScanDir")->isChecked());
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor), (Lines{"busy", "idle"}));  // one search, none nested
    EXPECT_NE(form().statusText().find(Cp("(прервано пользователем)")), std::string::npos)
        << Cp1251ToUtf8(form().statusText());
    EXPECT_TRUE(seen.progress.contains(QString::fromUtf8(" каталог"))) << seen.progress.toStdString();
    EXPECT_EQ(cancel()->text(), QString::fromUtf8("Отмена"));
}

TEST_F(ProgressWindowTest, CopyCancelledPartWayLeavesNoPartialFile) {
    const std::string target = tmp / "target";
    tmp.Write("music/big.mp3", std::string(3 * 1024 * 1024 + 7, 'b'));
    tmp.Write("music/small.mp3", "s");
    tmp.Write("target/small.mp3", "old");
    detail::SetKernelCopyAllowed(false);  // the plain copy asks after each megabyte
    StartShown();
    Control<QCheckBox>("cbAddFileName")->setChecked(false);
    form().ShowOutputLines({music + "/big.mp3", music + "/small.mp3"});
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    form().checkList().setAllChecked(true);
    WhenOpen<TDirectoryForm>(&form(), [target](TDirectoryForm* d) {
        d->DirectoryEdit->setText(QString::fromStdString(target));
        d->bbtnOk->click();
    });
    Seen seen;
    StopAtFirstReport(seen, [this] { Key(&form(), Qt::Key_Escape); });
    Action("pmCopyFiles")->trigger();
    detail::SetKernelCopyAllowed(true);
    ASSERT_TRUE(seen.asked);
    EXPECT_TRUE(seen.progress.contains("0 of 2 files")) << seen.progress.toStdString();
    // big.mp3 was abandoned after its first megabyte; small.mp3 never began.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(target)) left.push_back(entry.path().filename());
    EXPECT_EQ(left, Lines{"small.mp3"});
    EXPECT_EQ(ReadAll(target + "/small.mp3"), "old");
    EXPECT_EQ(form().statusText(), "Copied: 0 file(s), failed: 0 (cancelled by the user)");
    EXPECT_TRUE(cancel()->isHidden());
}

}  // namespace
}  // namespace tandrel
