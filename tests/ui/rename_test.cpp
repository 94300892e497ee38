#include "ui/renamedialogs.h"
#include "ui/renamepreview.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Names = std::vector<std::string>;

class RenameWindowTest : public test::WindowTest {
protected:
    // Starts the windows with the settings key holding the value lines, and the file list on mask.
    void Start(const std::string& values, const char* mask) {
        WriteRegistry(values);
        WindowTest::Start();
        form().fileManager->edMask->setEditText(mask);
    }
    FileListBox* list() { return form().fileManager->filesListBox; }
    void Select(const std::vector<std::string>& names) {
        list()->clearSelection();
        for (const std::string& n : names) {
            list()->setCurrentName(n);
            list()->selectionModel()->select(list()->currentIndex(), QItemSelectionModel::Select);
        }
    }
    template <class D>
    void WhenOpen(std::function<void(D*)> steps) {
        test::WhenOpen<D>(&form(), steps);
    }
};

TEST_F(RenameWindowTest, TranslitThroughTheMenuAsksRenamesLogsAndRereadsTheList) {
    tmp.Write("music/Зима.mp3", "1");
    tmp.Write("music/Лето.mp3", "2");
    tmp.Write("music/sub/Осень.mp3", "3");
    Start("\"ShowRenameWarning\"=dword:00000001\r\n\"WriteRenameInfo\"=dword:00000001\r\n"
          "\"RecursiveRename\"=dword:00000000\r\n",
          "*.mp3");
    ASSERT_TRUE(Action("mnRenameToTranslit")->isEnabled());
    prompter.No();
    Action("mnRenameToTranslit")->trigger();
    EXPECT_EQ(list()->names(), (Names{Cp("Зима.mp3"), Cp("Лето.mp3")}));

    prompter.Yes();
    Action("mnRenameToTranslit")->trigger();
    EXPECT_EQ(prompter.Texts(PromptKind::YesNo).back(), "Do You really want to Rename RU-FileNames to Translit All?");
    EXPECT_EQ(list()->names(), (Names{"Leto.mp3", "Zima.mp3"}));
    // One line per file, in the order of the directory listing.
    const std::string log = ReadAll(music + "/rename.ini");
    EXPECT_EQ(log.rfind("[renamed]\r\n", 0), 0u) << log;
    EXPECT_NE(log.find(Cp("Zima.mp3=Зима.mp3\r\n")), std::string::npos);
    EXPECT_NE(log.find(Cp("Leto.mp3=Лето.mp3\r\n")), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(music + "/sub/Осень.mp3"));
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor), (Names{"busy", "idle"}));
}

TEST_F(RenameWindowTest, PopupRenamesOnlyTheSelectedFiles) {
    tmp.Write("music/Один.txt", "1");
    tmp.Write("music/Два.txt", "2");
    Start("", "*.txt");
    Action("pmRenameToUpperCase")->trigger();
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Names{"Please, choose file for searching!"});
    Select({Cp("Два.txt")});
    Action("pmRenameToUpperCase")->trigger();
    EXPECT_EQ(list()->names(), (Names{Cp("ДВА.TXT"), Cp("Один.txt")}));
    EXPECT_FALSE(std::filesystem::exists(music + "/rename.ini"));  // WriteRenameInfo is off
}

TEST_F(RenameWindowTest, InPlaceRenameWithEnterAndEscape) {
    tmp.Write("music/a.txt", "a");
    tmp.Write("music/b.txt", "b");
    Start("", "*.txt");
    form().show();
    QLineEdit* box = form().fileManager->edFile4FileListBox;
    EXPECT_EQ(box->text(), "*.txt");  // no file is current yet
    list()->setCurrentName("a.txt");
    Action("pmRename")->trigger();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), "a.txt");

    box->setText("b.txt");
    Key(box, Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(form().statusText(), "a.txt not renamed!!!");

    Action("pmRename")->trigger();
    box->setText("c.txt");
    Key(box, Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(list()->names(), (Names{"a.txt", "b.txt"}));

    Action("pmRename")->trigger();
    box->setText(QString::fromUtf8("ёж.txt"));
    Key(box, Qt::Key_Enter);
    EXPECT_EQ(list()->names(), (Names{"b.txt", Cp("ёж.txt")}));
    EXPECT_EQ(list()->currentName(), Cp("ёж.txt"));
    EXPECT_EQ(ReadAll(music + "/ёж.txt"), "a");
}

TEST_F(RenameWindowTest, DeleteFirstSymbolsKeepsItsCountForTheRun) {
    tmp.Write("music/01 Song.mp3", "1");
    tmp.Write("music/02 Tune.mp3", "2");
    Start("\"WriteRenameInfo\"=dword:00000001\r\n", "*.mp3");
    WhenOpen<TFileDelSymForm>([](TFileDelSymForm* d) {
        EXPECT_EQ(d->windowTitle(), "Deleting Begin Symbols from FileName(s)");
        EXPECT_EQ(d->seDelFormat->value(), 1);
        EXPECT_EQ(d->seDelFormat->minimum(), 1);
        EXPECT_EQ(d->seDelFormat->maximum(), 10);
        d->seDelFormat->setValue(3);
        d->cdRecursive->setChecked(false);
        d->bbtnOk->click();
    });
    Action("mnDelFrstSymFromFileNames")->trigger();
    EXPECT_EQ(list()->names(), (Names{"Song.mp3", "Tune.mp3"}));
    EXPECT_FALSE(form().settings().recursiveRename);

    WhenOpen<TFileDelSymForm>([](TFileDelSymForm* d) {
        EXPECT_EQ(d->seDelFormat->value(), 3);
        d->bbtnCancel->click();
    });
    Action("mnDelFrstSymFromFileNames")->trigger();
    EXPECT_EQ(list()->names(), (Names{"Song.mp3", "Tune.mp3"}));

    Action("mnRenameFromIniFileDel")->trigger();  // no warning asked: ShowRenameWarning is off
    EXPECT_EQ(list()->names(), (Names{"01 Song.mp3", "02 Tune.mp3"}));
}

TEST_F(RenameWindowTest, ExtensionChangerStaysOpenOnEqualMasksThenChangesAndShowsTheTarget) {
    tmp.Write("music/a.txt", "1");
    tmp.Write("music/b.txt", "2");
    Start("", "*.txt");
    WhenOpen<TExtChangerForm>([](TExtChangerForm* d) {
        EXPECT_EQ(d->windowTitle(), "Extension Changer");
        EXPECT_EQ(d->edMaskExtSource->currentText(), "*.txt");
        EXPECT_EQ(d->edMaskExtTarget->currentText(), "*.cd");
        d->edMaskExtTarget->setEditText("*.txt");
        d->bbtnOk->click();
        EXPECT_TRUE(d->isVisible());
        d->edMaskExtTarget->setEditText("*.cd");
        d->bbtnOk->click();
    });
    Action("mnExtChange")->trigger();
    EXPECT_EQ(form().fileManager->edMask->currentText(), "*.cd");
    EXPECT_EQ(list()->names(), (Names{"a.cd", "b.cd"}));
    EXPECT_EQ(form().statusText(), "Renamed: 2, failed: 0");  // not covered by the new mask's folder text
}

TEST_F(RenameWindowTest, SortDialogInRussianWithItsEnableRules) {
    Start("\"NumberFormat\"=dword:00000002\r\n", "*.jpg");
    form().ApplyLanguage(1);
    WhenOpen<TSortFileAddNumForm>([](TSortFileAddNumForm* d) {
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Сортировка по дате и добавление нумерации к имени файла(ов)"));
        EXPECT_EQ(d->bbtnCancel->text(), QString::fromUtf8("Отмена"));
        EXPECT_EQ(d->edBeginName->text(), "File");
        d->cbAddNum->setChecked(false);
        EXPECT_FALSE(d->seBeginNum->isEnabled());
        EXPECT_FALSE(d->cbEndNum->isEnabled());
        d->cbAddNum->setChecked(true);
        EXPECT_TRUE(d->seNumFormat->isEnabled());
        d->seBeginNum->setValue(12345);
        EXPECT_EQ(d->seNumFormat->value(), 5);
        d->bbtnCancel->click();
    });
    Action("mnSortDateAddCountToFileNames")->trigger();
    EXPECT_EQ(form().settings().numberFormat, 2);  // Cancel writes nothing back
}

// The two numbering dialogs share their numbering controls: each shows the
// stored values and OK writes back what the controls then hold.
TEST_F(RenameWindowTest, NumberingDialogsShowTheStoredValuesAndOkWritesThemBack) {
    tmp.Write("music/b.mp3", "1");
    tmp.Write("music/a.mp3", "2");
    Start("\"AddingNumber\"=dword:00000001\r\n\"NumberFormat\"=dword:00000003\r\n\"NumberSplit\"=\"-\"\r\n"
          "\"RecursiveRename\"=dword:00000000\r\n\"use_m3u\"=dword:00000000\r\n",
          "*.mp3");
    WhenOpen<TFileAddNumForm>([](TFileAddNumForm* d) {
        EXPECT_TRUE(d->cbAddNum->isChecked());
        EXPECT_EQ(d->seNumFormat->value(), 3);
        EXPECT_EQ(d->edNumSplit->text(), "-");
        EXPECT_FALSE(d->cdRecursive->isChecked());
        EXPECT_FALSE(d->cbUse_m3u->isChecked());
        d->seNumFormat->setValue(2);
        d->edNumSplit->setText(" ");
        d->bbtnOk->click();
    });
    Action("mnAddCountStrToFileNames")->trigger();
    EXPECT_EQ(list()->names(), (Names{"01 a.mp3", "02 b.mp3"}));

    WhenOpen<TSortFileAddNumForm>([](TSortFileAddNumForm* d) {
        EXPECT_TRUE(d->cbAddNum->isChecked());
        EXPECT_EQ(d->seNumFormat->value(), 2);
        EXPECT_EQ(d->edNumSplit->text(), " ");
        EXPECT_FALSE(d->cdRecursive->isChecked());
        d->cbAddNum->setChecked(false);  // no number: the splitter is appended
        d->edNumSplit->setText("~");
        d->cbUse_m3u->setChecked(true);
        d->bbtnOk->click();
    });
    Action("mnSortDateAddCountToFileNames")->trigger();
    EXPECT_TRUE(std::filesystem::exists(music + "/01 a.mp3~"));
    EXPECT_TRUE(std::filesystem::exists(music + "/02 b.mp3~"));
    const TAppSettings& s = form().settings();
    EXPECT_FALSE(s.addingNumber);
    EXPECT_EQ(s.numberFormat, 2);
    EXPECT_EQ(s.numberSplit, "~");
    EXPECT_TRUE(s.useM3u);
}

TEST_F(RenameWindowTest, RenameBackWithoutALogSaysSoOnTheStatusLine) {
    tmp.Write("music/a.mp3", "a");
    Start("", "*.mp3");
    Action("mnRenameFromIniFileRen")->trigger();
    EXPECT_EQ(form().statusText(), "No rename log (rename.ini) found in " + music);
    EXPECT_EQ(prompter.Count(PromptKind::Message), 0u);
}

TEST_F(RenameWindowTest, BatchWithSeveralFailuresSumsUpAndShowsEveryFailure) {
    // Each upper-case name is taken by its lower-case twin.
    for (int i = 1; i <= 5; ++i) {
        tmp.Write("music/A" + std::to_string(i) + ".MP3", "upper");
        tmp.Write("music/a" + std::to_string(i) + ".mp3", "lower");
    }
    tmp.Write("music/B.MP3", "b");
    Start("\"RecursiveRename\"=dword:00000000\r\n", "*.*");
    Action("mnRenameToLowerCase")->trigger();
    const std::string status = form().statusText();
    EXPECT_EQ(status.rfind("Renamed: 1, failed: 5. First: A", 0), 0u) << status;
    EXPECT_NE(status.find("the target already exists"), std::string::npos) << status;
    const Names messages = prompter.Texts(PromptKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    for (int i = 1; i <= 5; ++i)
        EXPECT_NE(messages[0].find("A" + std::to_string(i) + ".MP3 not renamed!!!"), std::string::npos) << messages[0];
}

TEST_F(RenameWindowTest, DirectoryThatCannotBeReadIsNamedOnTheStatusLine) {
    // A directory that goes away (an unplugged drive) after it was chosen.
    tmp.Write("music/gone/a.mp3", "a");
    Start("", "*.*");
    ASSERT_TRUE(form().fileManager->dirListBox->setDirectory(music + "/gone"));
    EXPECT_EQ(list()->names(), Names{"a.mp3"});
    std::filesystem::current_path(music);
    std::filesystem::remove_all(music + "/gone");
    form().fileManager->edMask->setEditText("*.mp3");
    form().edMaskChange();
    EXPECT_TRUE(list()->names().empty());
    EXPECT_EQ(form().statusText(), "Cannot read " + music + "/gone: No such file or directory");
}

TEST_F(RenameWindowTest, WithOrWithoutThePreviewTheWarningIsAskedAndTheSameNamesResult) {
    std::size_t asked = 0;
    for (const char* preview : {"0", "1"}) {
        SCOPED_TRACE(preview);
        for (const auto& e : std::filesystem::directory_iterator(music)) std::filesystem::remove_all(e.path());
        tmp.Write("music/Зима.txt", "1");
        tmp.Write("music/Zima.txt", "taken");
        tmp.Write("music/Лето.txt", "2");
        Start(std::string("\"ShowRenameWarning\"=dword:00000001\r\n\"WriteRenameInfo\"=dword:00000001\r\n"
                          "\"RecursiveRename\"=dword:00000000\r\n"
                          "\"ShowRenamePreview\"=dword:0000000") + preview + "\r\n",
              "*.txt");
        ASSERT_EQ(form().settings().showRenamePreview, preview[0] == '1');
        prompter.Yes();
        if (preview[0] == '1') WhenOpen<TRenamePreviewForm>([](TRenamePreviewForm* d) { d->bbtnRename->click(); });
        Action("mnRenameToTranslit")->trigger();
        EXPECT_EQ(prompter.Texts(PromptKind::YesNo).size(), ++asked);
        EXPECT_EQ(list()->names(), (Names{"Leto.txt", "Zima.txt", Cp("Зима.txt")}));
        EXPECT_EQ(form().statusText(), Cp("Renamed: 1, failed: 1. First: File Zima.txt already exists!!! "
                                          "(Зима.txt not renamed!!!)"));
        EXPECT_EQ(ReadAll(music + "/rename.ini"), Cp("[renamed]\r\nLeto.txt=Лето.txt\r\n"));
        prompter.Yes();
        if (preview[0] == '1') WhenOpen<TRenamePreviewForm>([](TRenamePreviewForm* d) { d->bbtnRename->click(); });
        Action("mnRenameFromIniFileRen")->trigger();
        ++asked;
        EXPECT_EQ(list()->names(), (Names{"Zima.txt", Cp("Зима.txt"), Cp("Лето.txt")}));
        windows.reset();
    }
}

}  // namespace
}  // namespace tandrel
