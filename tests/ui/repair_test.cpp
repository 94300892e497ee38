// The repair commands in the window: the preview lists old and new texts,
// OK carries the repair out and Cancel leaves everything as it was; the
// settings dialog's Unicode box reaches the tag panel's saves.
#include <QStandardItemModel>
#include <QTableView>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tags/id3v2.h"
#include "tags/tagbytes.h"
#include "ui/filelists.h"
#include "ui/mainform.h"
#include "ui/regions.h"
#include "ui/settingsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;

class RepairWindowTest : public WindowTest {
protected:
    // Runs the steps on the preview once it is open: the table's rows as
    // UTF-8 texts, then OK or Cancel.
    void WhenPreviewOpen(bool ok, std::vector<std::vector<std::string>>* rows, int tries = 100) {
        // The plan pumps paint events, so the timer may fire before the preview opens: then it waits again.
        QTimer::singleShot(0, &form(), [this, ok, rows, tries] {
            auto* dialog = form().findChild<QDialog*>("TRepairPreviewForm");
            if (!dialog || !dialog->isVisible()) {
                ASSERT_GT(tries, 0) << "the preview did not open";
                WhenPreviewOpen(ok, rows, tries - 1);
                return;
            }
            const QAbstractItemModel* model = dialog->findChild<QTableView*>("tvPreview")->model();
            for (int r = 0; r < model->rowCount(); ++r) {
                rows->emplace_back();
                for (int c = 0; c < model->columnCount(); ++c)
                    rows->back().push_back(model->index(r, c).data().toString().toStdString());
            }
            dialog->findChild<QPushButton*>(ok ? "bbtnOk" : "bbtnCancel")->click();
        });
    }
};

std::string TitleTag(const std::string& title) {
    const std::string frame =
        "TIT2" + Be32(static_cast<std::uint32_t>(title.size() + 1)) + Zeros(2) + Bytes({0}) + title;
    return std::string("ID3") + Bytes({3, 0, 0}) + Syncsafe(static_cast<std::uint32_t>(frame.size())) + frame;
}

TEST_F(RepairWindowTest, TagRepairPreviewsThenRewritesTheFrame) {
    const std::string path = tmp.Write("music/a.mp3", TitleTag("\xCA\xE8\xED\xEE") + Audio());
    const std::string before = ReadAll(path);
    Start();
    form().fileManager->edMask->setEditText("*.mp3");
    std::vector<std::vector<std::string>> rows;
    WhenPreviewOpen(false, &rows);
    Action("mnRepairTags")->trigger();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{path, "TIT2", "Êèíî", "Кино"}));
    EXPECT_EQ(ReadAll(path), before) << "Cancel repairs nothing";

    rows.clear();
    WhenPreviewOpen(true, &rows);
    Action("mnRepairTags")->trigger();
    EXPECT_NE(ReadAll(path).find(Bytes({1, 0xFF, 0xFE, 0x1A, 0x04, 0x38, 0x04})), std::string::npos);
    EXPECT_EQ(prompter.statusText(), Cp("ID3v2 text repaired: frames 1, files 1, failed 0"));
}

TEST_F(RepairWindowTest, EscDuringTheTagRepairKeepsTheFilesRepairedSoFar) {
    // Enough files for the repair to outlast the window's 50 ms between two looks at the input.
    constexpr int kFiles = 1000;
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i)
        paths.push_back(tmp.Write("music/" + std::to_string(i) + ".mp3", TitleTag("\xCA\xE8\xED\xEE") + Audio()));
    Start();
    form().show();
    form().fileManager->edMask->setEditText("*.mp3");
    std::vector<std::vector<std::string>> rows;
    WhenPreviewOpen(true, &rows);
    // Esc once the preview was accepted (it filled rows) and the repair reports progress.
    bool pressed = false;
    prompter.onProgress = [this, &rows, &pressed](const ProgressInfo&) {
        if (pressed || rows.empty()) return;
        Key(&form(), Qt::Key_Escape);
        pressed = true;
    };
    Action("mnRepairTags")->trigger();
    prompter.onProgress = nullptr;
    ASSERT_TRUE(pressed);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kFiles));
    int repaired = 0;
    for (const std::string& path : paths)
        repaired += ReadAll(path).find(Bytes({1, 0xFF, 0xFE, 0x1A, 0x04})) != std::string::npos;
    EXPECT_GE(repaired, 1);
    EXPECT_LT(repaired, kFiles);
    EXPECT_NE(prompter.statusText().find("(cancelled by the user)"), std::string::npos) << prompter.statusText();
}

TEST_F(RepairWindowTest, LegacyNamesAreRepairedAfterThePreviewAndRenamedBack) {
    std::ofstream(music + "/\xCA\xE8\xED\xEE.mp3") << "kino";  // Кино.mp3 in code page 1251
    Start();
    form().fileManager->edMask->setEditText("*.*");
    std::vector<std::vector<std::string>> rows;
    WhenPreviewOpen(true, &rows);
    Action("mnRepairNames")->trigger();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{music, "\\xCA\\xE8\\xED\\xEE.mp3", "cp1251", "Кино.mp3", "ready"}));
    EXPECT_EQ(ReadAll(music + "/Кино.mp3"), "kino");
    const auto& names = form().fileManager->filesListBox->names();
    EXPECT_NE(std::find(names.begin(), names.end(), Cp("Кино.mp3")), names.end()) << "the list is read again";

    Action("mnRepairNamesBack")->trigger();
    EXPECT_EQ(ReadAll(music + "/\xCA\xE8\xED\xEE.mp3"), "kino");
    EXPECT_EQ(prompter.statusText(), "Renamed: 1, failed: 0");
}

TEST_F(RepairWindowTest, TheUnicodeBoxOfTheSettingsReachesTheTagObject) {
    Start();
    EXPECT_FALSE(form().id3v2().UnicodeText());
    WhenOpen<TSettingsForm>(&form(), [](TSettingsForm* d) {
        EXPECT_FALSE(d->cbWriteID3v2Unicode->isChecked());
        d->cbWriteID3v2Unicode->setChecked(true);
        d->bbtnOk->click();
    });
    Action("mnSettings")->trigger();
    EXPECT_TRUE(form().settings().writeID3v2Unicode);
    EXPECT_TRUE(form().id3v2().UnicodeText());
    EXPECT_NE(Exit().find("\"WriteID3v2Unicode\"=dword:00000001"), std::string::npos);
}

}  // namespace
}  // namespace tandrel
