#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "tags/id3v1.h"
#include "tags/tagbytes.h"
#include "text/paths.h"
#include "ui/fromid3renameoptionsform.h"
#include "ui/renamepreview.h"
#include "ui/settingsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Names = std::vector<std::string>;

class FromTagsWindowTest : public test::WindowTest {
protected:
    void Start(const std::string& values, const char* mask) {
        WriteRegistry(values);
        WindowTest::Start();
        form().fileManager->edMask->setEditText(mask);
    }
    FileListBox* list() { return form().fileManager->filesListBox; }
    void Select(const Names& names) {
        list()->clearSelection();
        for (const std::string& n : names) {
            const auto at = std::find(list()->names().begin(), list()->names().end(), n);
            ASSERT_NE(at, list()->names().end()) << n;
            const QModelIndex index = list()->model()->index(static_cast<int>(at - list()->names().begin()), 0);
            list()->selectionModel()->select(index, QItemSelectionModel::Select);
        }
    }
    void Mp3(const std::string& name, std::uint8_t track, const std::string& artist) {
        const std::string path = tmp.Write("music/" + name, Audio());
        TID3v1 tag;
        tag.SetTrack(track);
        tag.SetArtist(artist);
        ASSERT_TRUE(tag.SaveToFile(path));
    }
    // The pattern the dialog shows and the checked boxes, as "N-A v1:NA v2:".
    static std::string State(TFromID3RenameOptionsForm* d) {
        std::string s = FromQt(d->edFileFormat->text()) + " v1:";
        for (int f = 0; f < kNameFieldCount; ++f)
            if (d->v1Boxes[static_cast<std::size_t>(f)]->isChecked()) s += kNameFieldLetters[f];
        s += " v2:";
        for (int f = 0; f < kNameFieldCount; ++f)
            if (d->v2Boxes[static_cast<std::size_t>(f)]->isChecked()) s += kNameFieldLetters[f];
        return s;
    }
    static QCheckBox* Box(TFromID3RenameOptionsForm* d, const char* name) {
        QCheckBox* box = d->findChild<QCheckBox*>(name);
        EXPECT_NE(box, nullptr) << name;
        return box;
    }
};

TEST_F(FromTagsWindowTest, OptionBoxesComposeThePatternAndOkWritesEveryValue) {
    Start("", "*.mp3");
    WhenOpen<TFromID3RenameOptionsForm>(&form(), [](TFromID3RenameOptionsForm* d) {
        EXPECT_EQ(d->windowTitle(), "From ID3 Rename Options");
        EXPECT_EQ(State(d), " v1: v2:");  // no key: the design values
        EXPECT_EQ(d->seNumFormat->value(), 2);
        EXPECT_EQ(d->edBasicSplit->text(), "_");
        EXPECT_TRUE(d->edFileFormat->isReadOnly());
        struct Step { std::function<void()> act; const char* state; };
        const Step steps[] = {
            {[d] { Box(d, "cbID3v1TrackNum")->click(); }, "N v1:N v2:"},
            {[d] { d->sbtnAddSymbol->click(); }, "N- v1:N v2:"},
            {[d] { Box(d, "cbID3v1Artist")->click(); }, "N-A v1:NA v2:"},
            {[d] { d->sbtnAddSymbol->click(); }, "N-A- v1:NA v2:"},
            {[d] { Box(d, "cbID3v1Title")->click(); }, "N-A-T v1:NAT v2:"},
            {[d] { d->sbtnDelSymbol->click(); }, "NA-T v1:NAT v2:"},  // the first "-" only
            // The twin takes over the field: still one A.
            {[d] { Box(d, "cbID3v2Artist")->click(); }, "NA-T v1:NT v2:A"},
            {[d] { Box(d, "cbID3v2Artist")->click(); }, "N-T v1:NT v2:"},
            {[d] { d->bbtnID3v2CheckAll->click(); }, "NATLY v1: v2:NATLY"},
            // The pattern is emptied even though the other group keeps its boxes.
            {[d] { d->bbtnID3v1UnCheckAll->click(); }, " v1: v2:NATLY"},
            {[d] { d->bbtnID3v1CheckAll->click(); }, "NATLY v1:NATLY v2:"},
            {[d] { Box(d, "cbID3v2Year")->click(); }, "NATLY v1:NATL v2:Y"},
        };
        for (const Step& s : steps) {
            s.act();
            EXPECT_EQ(State(d), s.state);
        }
        d->rgID3TagMode->button(2)->click();
        EXPECT_FALSE(Box(d, "cbID3v1Artist")->isEnabled());
        EXPECT_FALSE(d->bbtnID3v1CheckAll->isEnabled());
        EXPECT_TRUE(Box(d, "cbID3v2Artist")->isEnabled());
        EXPECT_EQ(State(d), "NATLY v1:NATL v2:Y");  // checked states stay while disabled
        d->rgID3TagMode->button(1)->click();
        EXPECT_TRUE(d->gbID3v1->isEnabled());
        EXPECT_FALSE(d->gbID3v2->isEnabled());
        d->seNumFormat->setValue(3);
        d->edBasicSplit->setText(" ");
        d->bbtnOk->click();
    });
    Action("mnFromID3RenameOptions")->trigger();
    const std::string text = RegistryText();
    for (const char* line : {"\"ID3TagMode\"=dword:00000001", "\"ID3FileFormat\"=\"NATLY\"",
                             "\"ID3TrackNum\"=dword:00000001", "\"ID3Artist\"=dword:00000001",
                             "\"ID3Title\"=dword:00000001", "\"ID3Album\"=dword:00000001",
                             "\"ID3Year\"=dword:00000002", "\"ID3NumFormat\"=dword:00000003", "\"BasicSplit\"=\" \""})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(FromTagsWindowTest, OptionsDialogShowsTheStoredValuesAndCancelWritesNothing) {
    Start("\"ID3TagMode\"=dword:00000002\r\n\"ID3FileFormat\"=\"T-A\"\r\n\"ID3Artist\"=dword:00000001\r\n"
          "\"ID3Title\"=dword:00000002\r\n\"ID3NumFormat\"=dword:00000005\r\n\"BasicSplit\"=\"+\"\r\n",
          "*.mp3");
    form().ApplyLanguage(1);
    const std::string before = RegistryText();
    WhenOpen<TFromID3RenameOptionsForm>(&form(), [](TFromID3RenameOptionsForm* d) {
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Опции переименования из ID3 Тэгов"));
        EXPECT_EQ(d->bbtnCancel->text(), QString::fromUtf8("Отмена"));
        EXPECT_EQ(d->rgID3TagMode->itemText(0), QString::fromUtf8("ID3v1 && ID3v2 Тэги"));
        EXPECT_EQ(State(d), "T-A v1:A v2:T");
        EXPECT_EQ(d->rgID3TagMode->itemIndex(), 2);
        EXPECT_FALSE(d->gbID3v1->isEnabled());
        EXPECT_EQ(d->seNumFormat->value(), 5);
        EXPECT_EQ(d->edBasicSplit->text(), "+");
        d->bbtnID3v2UnCheckAll->click();
        d->bbtnCancel->click();
    });
    Action("mnFromID3RenameOptions")->trigger();
    EXPECT_EQ(RegistryText(), before);
}

TEST_F(FromTagsWindowTest, RenameOptionsButtonOpensOnlyTheRenamePage) {
    Start("", "*.mp3");
    bool seen = false;
    WhenOpen<TFromID3RenameOptionsForm>(&form(), [&seen](TFromID3RenameOptionsForm* d) {
        WhenOpen<TSettingsForm>(d, [&seen](TSettingsForm* s) {
            seen = true;
            EXPECT_EQ(s->tabs->currentWidget(), s->tsRenameOptions);
            for (QWidget* page : {s->tsOptions, s->tsFindOptions, s->tsPrograms})
                EXPECT_FALSE(s->tabs->isTabEnabled(s->tabs->indexOf(page)));
            s->bbtnCancel->click();
        });
        d->btnRenOptions->click();
    });
    Action("mnFromID3RenameOptions")->trigger();
    EXPECT_TRUE(seen);
}

TEST_F(FromTagsWindowTest, ButtonRenamesTheSelectedFilesAfterTheirTags) {
    Mp3("a.mp3", 1, "Kino");
    Mp3("b.mp3", 2, "Aria");
    Mp3("c.mp3", 1, "Kino");  // the same name as a.mp3 gets
    Mp3("d.mp3", 4, "DDT");
    Start("\"ID3TagMode\"=dword:00000000\r\n\"ID3FileFormat\"=\"N-A\"\r\n\"ID3TrackNum\"=dword:00000001\r\n"
          "\"ID3Artist\"=dword:00000001\r\n",
          "*.txt");
    QPushButton* button = form().fileManager->bbtnFromID3Rename;
    EXPECT_FALSE(button->isEnabled());
    form().fileManager->edMask->setEditText("*.mp3");
    ASSERT_TRUE(button->isEnabled());

    list()->clearSelection();
    button->click();
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Names{"Please, choose file for searching!"});

    Select({"a.mp3", "b.mp3", "c.mp3"});
    button->click();
    EXPECT_EQ(list()->names(), (Names{"01_-_Kino.mp3", "02_-_Aria.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(prompter.statusText(), "c.mp3 not renamed!!!");
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor), (Names{"busy", "idle"}));
    EXPECT_TRUE(button->isEnabled());

    Select({"d.mp3"});
    button->click();
    EXPECT_EQ(list()->names(), (Names{"01_-_Kino.mp3", "02_-_Aria.mp3", "04_-_DDT.mp3", "c.mp3"}));
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor).size(), 2u);  // one file: no wait cursor
    EXPECT_EQ(list()->currentName(), "04_-_DDT.mp3");  // the renamed file stays the current one
    EXPECT_EQ(form().statusText(), JoinPath(list()->directory(), "04_-_DDT.mp3"));
}

TEST_F(FromTagsWindowTest, EscKeepsEveryNameWhenPressedBeforeTheFirstRename) {
    Mp3("a.mp3", 1, "Kino");
    Mp3("b.mp3", 2, "Aria");
    Mp3("c.mp3", 3, "DDT");
    Start("\"ID3TagMode\"=dword:00000000\r\n\"ID3FileFormat\"=\"N-A\"\r\n\"ID3TrackNum\"=dword:00000001\r\n"
          "\"ID3Artist\"=dword:00000001\r\n",
          "*.mp3");
    Select({"a.mp3", "b.mp3", "c.mp3"});
    bool pressed = false;
    prompter.onProgress = [&](const ProgressInfo&) {
        if (pressed) return;
        pressed = true;  // while the tags are read, before any file moves
        test::Key(list(), Qt::Key_Escape);
    };
    form().fileManager->bbtnFromID3Rename->click();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(list()->names(), (Names{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(form().statusText(), "0 of 3 files (cancelled by the user)");
    EXPECT_TRUE(form().fileManager->bbtnFromID3Rename->isEnabled());
}

// With the preview on, the rename from tags shows its rows; a file left out
// keeps its name and Cancel moves nothing.
TEST_F(FromTagsWindowTest, ThePreviewShowsTheTagNamesAndLeavesOutWhatTheUserUnticks) {
    Mp3("a.mp3", 1, "Kino");
    Mp3("b.mp3", 2, "Aria");
    Start("\"ID3TagMode\"=dword:00000000\r\n\"ID3FileFormat\"=\"N-A\"\r\n\"ID3TrackNum\"=dword:00000001\r\n"
          "\"ID3Artist\"=dword:00000001\r\n\"ShowRenamePreview\"=dword:00000001\r\n",
          "*.mp3");
    Select({"a.mp3", "b.mp3"});
    test::WhenOpen<TRenamePreviewForm>(&form(), [](TRenamePreviewForm* d) { d->bbtnCancel->click(); });
    form().fileManager->bbtnFromID3Rename->click();
    EXPECT_EQ(list()->names(), (Names{"a.mp3", "b.mp3"}));
    EXPECT_EQ(form().statusText(), "Rename cancelled: no file was renamed.");

    Select({"a.mp3", "b.mp3"});
    test::WhenOpen<TRenamePreviewForm>(&form(), [](TRenamePreviewForm* d) {
        EXPECT_EQ(d->lCounts->text(), "Will rename: 2   Unchanged: 0   Problems: 0");
        RenamePlanModel* model = d->model();
        ASSERT_EQ(model->data(model->index(1, 0), Qt::DisplayRole).toString(), "b.mp3");
        EXPECT_EQ(model->data(model->index(1, RenamePlanModel::NewName), Qt::DisplayRole).toString(), "02_-_Aria.mp3");
        model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        d->bbtnRename->click();
    });
    form().fileManager->bbtnFromID3Rename->click();
    EXPECT_EQ(list()->names(), (Names{"01_-_Kino.mp3", "b.mp3"}));
}

}  // namespace
}  // namespace tandrel
