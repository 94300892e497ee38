// The preview of a batch rename: counts, the filter, leaving files out, and
// Cancel keeping the plan as it was; the settings box that turns it on.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include "app/language.h"
#include "ui/mainform.h"
#include "ui/renamepreview.h"
#include "ui/settingsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;

RenamePlan MixedPlan() {
    RenamePlan plan;
    plan.rows = {{"/m", Cp("Кино.mp3"), "Kino.mp3", PlanStatus::WillRename},
                 {"/m", "abc.mp3", "abc.mp3", PlanStatus::Unchanged},
                 {"/m", Cp("Ёлка.mp3"), "Elka.mp3", PlanStatus::WillRename},
                 {"/m/sub", Cp("Ель.mp3"), "El.mp3", PlanStatus::TargetExists}};
    return plan;
}

class RenamePreviewTest : public WindowTest {};

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

}  // namespace
}  // namespace tandrel
