// The preview of a batch rename: counts, the filter, leaving files out, and
// Cancel keeping the plan as it was; the settings box that turns it on.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/language.h"
#include "ui/filelists.h"
#include "ui/mainform.h"
#include "ui/renamepreview.h"
#include "ui/settingsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;

RenamePlan MixedPlan() {
    RenamePlan plan;
    AddPlanRow(plan, "/m", Cp("Кино.mp3"), "Kino.mp3", PlanStatus::WillRename);
    AddPlanRow(plan, "/m", "abc.mp3", "abc.mp3", PlanStatus::Unchanged);
    AddPlanRow(plan, "/m", Cp("Ёлка.mp3"), "Elka.mp3", PlanStatus::WillRename);
    AddPlanRow(plan, "/m/sub", Cp("Ель.mp3"), "El.mp3", PlanStatus::TargetExists);
    return plan;
}

class RenamePreviewTest : public WindowTest {
protected:
    // The window on the music folder with the warning off, the log kept, and the preview on or off.
    void StartRenaming(bool preview) {
        WriteRegistry(std::string("\"ShowRenameWarning\"=dword:00000000\r\n\"WriteRenameInfo\"=dword:00000001\r\n"
                                  "\"RecursiveRename\"=dword:00000000\r\n\"ShowRenamePreview\"=dword:0000000") +
                      (preview ? "1" : "0") + "\r\n");
        Start();
        form().show();
        form().fileManager->edMask->setEditText("*.mp3");
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(music)) names.push_back(e.path().filename());
        return Sorted(names);
    }
    // The row of the plan shown with that old name (UTF-8), -1 when none.
    static int RowOf(RenamePlanModel* model, const char* oldName) {
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->data(model->index(r, 0), Qt::DisplayRole).toString() == QString::fromUtf8(oldName)) return r;
        return -1;
    }
    void WriteSeasons() {
        for (const char* name : {"music/Зима.mp3", "music/Zima.mp3", "music/Лето.mp3", "music/Весна.mp3", "music/abc.mp3"})
            tmp.Write(name, "x");
    }
};

TEST_F(RenamePreviewTest, CountsFilterAndLeavingAFileOut) {
    QWidget owner;
    RenamePlan plan = MixedPlan();
    WhenOpen<TRenamePreviewForm>(&owner, [](TRenamePreviewForm* d) {
        RenamePlanModel* model = d->model();
        EXPECT_EQ(d->lCounts->text(), "Will rename: 2   Unchanged: 1   Problems: 1");
        EXPECT_EQ(model->rowCount(), 4);
        EXPECT_EQ(model->data(model->index(0, RenamePlanModel::OldName), Qt::DisplayRole).toString(), "Кино.mp3");
        EXPECT_EQ(model->data(model->index(3, RenamePlanModel::Status), Qt::DisplayRole).toString(), "target exists");
        // Only the rows that would rename can be left out.
        EXPECT_TRUE(model->flags(model->index(0, 0)) & Qt::ItemIsUserCheckable);
        EXPECT_FALSE(model->flags(model->index(1, 0)) & Qt::ItemIsUserCheckable);
        EXPECT_FALSE(model->flags(model->index(3, 0)) & Qt::ItemIsUserCheckable);

        d->cbFilter->setCurrentIndex(RenamePlanModel::OnlyProblems);
        ASSERT_EQ(model->rowCount(), 1);
        EXPECT_EQ(model->planRow(0), 3u);
        d->cbFilter->setCurrentIndex(RenamePlanModel::OnlyChanges);
        ASSERT_EQ(model->rowCount(), 3);
        EXPECT_EQ(model->planRow(1), 2u);
        // The filtered row 1 is the plan's "Ёлка.mp3".
        EXPECT_TRUE(model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        EXPECT_EQ(d->lCounts->text(), "Will rename: 1   Unchanged: 1   Problems: 1   Left out: 1");
        d->cbFilter->setCurrentIndex(RenamePlanModel::AllRows);
        EXPECT_EQ(model->data(model->index(2, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
        d->bbtnRename->click();
    });
    ASSERT_TRUE(RunRenamePreview(&owner, kEnglish, plan));
    EXPECT_TRUE(plan.rows[0].included);
    EXPECT_FALSE(plan.rows[2].included);
    EXPECT_EQ(CountPlan(plan).willRename, 1);
}

TEST_F(RenamePreviewTest, CancelKeepsThePlanAndRussianTextsShow) {
    QWidget owner;
    RenamePlan plan = MixedPlan();
    WhenOpen<TRenamePreviewForm>(&owner, [](TRenamePreviewForm* d) {
        EXPECT_EQ(d->windowTitle(), "Просмотр переименования");
        EXPECT_EQ(d->bbtnRename->text(), "Переименовать");
        RenamePlanModel* model = d->model();
        EXPECT_EQ(model->data(model->index(3, RenamePlanModel::Status), Qt::DisplayRole).toString(),
                  "такое имя уже есть");
        model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
        d->bbtnCancel->click();
    });
    EXPECT_FALSE(RunRenamePreview(&owner, kRussian, plan));
    EXPECT_TRUE(plan.rows[0].included);
    EXPECT_TRUE(plan.rows[2].included);
}

TEST_F(RenamePreviewTest, TheSettingIsOnForNewUsersAndItsBoxIsKept) {
    Start();
    EXPECT_TRUE(form().settings().showRenamePreview);
    WhenOpen<TSettingsForm>(&form(), [](TSettingsForm* d) {
        EXPECT_TRUE(d->cbShowRenamePreview->isChecked());
        d->cbShowRenamePreview->setChecked(false);
        d->bbtnOk->click();
    });
    Action("mnSettings")->trigger();
    EXPECT_FALSE(form().settings().showRenamePreview);
    EXPECT_NE(Exit().find("\"ShowRenamePreview\"=dword:00000000"), std::string::npos);
}

TEST_F(RenamePreviewTest, TranslitShowsThePlanAndAFileLeftOutKeepsItsName) {
    WriteSeasons();
    StartRenaming(true);
    WhenOpen<TRenamePreviewForm>(&form(), [](TRenamePreviewForm* d) {
        EXPECT_EQ(d->lCounts->text(), "Will rename: 2   Unchanged: 2   Problems: 1");
        RenamePlanModel* model = d->model();
        const int taken = RowOf(model, "Зима.mp3");
        ASSERT_GE(taken, 0);
        EXPECT_EQ(model->data(model->index(taken, RenamePlanModel::Status), Qt::DisplayRole).toString(),
                  "target exists");
        const int summer = RowOf(model, "Лето.mp3");
        ASSERT_GE(summer, 0);
        model->setData(model->index(summer, 0), Qt::Unchecked, Qt::CheckStateRole);
        d->bbtnRename->click();
    });
    Action("mnRenameToTranslit")->trigger();
    EXPECT_EQ(Names(), Sorted({"Vesna.mp3", "Zima.mp3", "abc.mp3", "rename.ini", "Зима.mp3", "Лето.mp3"}));
    EXPECT_EQ(ReadAll(music + "/rename.ini"), Cp("[renamed]\r\nVesna.mp3=Весна.mp3\r\n"));
}

TEST_F(RenamePreviewTest, CancelInThePreviewMovesNothing) {
    WriteSeasons();
    StartRenaming(true);
    const std::vector<std::string> before = Names();
    WhenOpen<TRenamePreviewForm>(&form(), [](TRenamePreviewForm* d) { d->bbtnCancel->click(); });
    Action("mnRenameToTranslit")->trigger();
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(form().statusText(), "Rename cancelled: no file was renamed.");
}

TEST_F(RenamePreviewTest, ARenameStoppedWithEscCanBeRenamedBackFromItsLog) {
    constexpr int kFiles = 20;
    for (int i = 0; i < kFiles; ++i) tmp.Write("music/Песня " + std::to_string(i) + ".mp3", "x");
    StartRenaming(false);
    const std::vector<std::string> before = Names();
    // Esc at the first progress of the moves the window shows (it shows at
    // most every 50 ms); the moves know their total, the walk before them not.
    bool pressed = false;
    prompter.onProgress = [this, &pressed](const ProgressInfo& p) {
        if (pressed || p.total == 0) return;
        Key(&form(), Qt::Key_Escape);
        pressed = true;
    };
    Action("mnRenameToTranslit")->trigger();
    prompter.onProgress = nullptr;
    const std::string prefix = "Stopped on request; files renamed before the stop: ";
    ASSERT_EQ(form().statusText().rfind(prefix, 0), 0u) << form().statusText();
    const int renamed = std::stoi(form().statusText().substr(prefix.size()));
    EXPECT_GE(renamed, 1);
    EXPECT_LT(renamed, kFiles);
    int translit = 0;
    for (const std::string& name : Names())
        translit += name != "rename.ini" && std::find(before.begin(), before.end(), name) == before.end();
    EXPECT_EQ(translit, renamed);

    Action("mnRenameFromIniFileRen")->trigger();
    std::vector<std::string> after = Names();
    after.erase(std::remove(after.begin(), after.end(), "rename.ini"), after.end());
    EXPECT_EQ(after, before);
}

TEST_F(RenamePreviewTest, EscWhileThePlanIsComputedRenamesNothing) {
    for (int i = 0; i < 5; ++i) tmp.Write("music/d" + std::to_string(i) + "/Песня.mp3", "x");
    WriteRegistry("\"ShowRenameWarning\"=dword:00000000\r\n\"RecursiveRename\"=dword:00000001\r\n"
                  "\"ShowRenamePreview\"=dword:00000001\r\n");
    Start();
    form().show();
    form().fileManager->edMask->setEditText("*.mp3");
    bool pressed = false;
    ProgressInfo seen;
    prompter.onProgress = [this, &pressed, &seen](const ProgressInfo& p) {
        if (pressed) return;
        seen = p;
        Key(&form(), Qt::Key_Escape);
        pressed = true;
    };
    // No preview may open; one that does is closed, so the test cannot hang.
    bool previewed = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&previewed] {
        if (auto* d = qobject_cast<TRenamePreviewForm*>(QApplication::activeModalWidget())) {
            previewed = true;
            d->reject();
        }
    });
    guard.start(10);
    Action("mnRenameToTranslit")->trigger();
    EXPECT_FALSE(previewed);
    prompter.onProgress = nullptr;
    ASSERT_TRUE(pressed);
    EXPECT_GE(seen.directories, 1);
    EXPECT_EQ(form().statusText(), "Rename cancelled: no file was renamed.");
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(std::filesystem::exists(music + "/d" + std::to_string(i) + "/Песня.mp3"));
}

}  // namespace
}  // namespace tandrel
