#include <QKeySequence>

#include "catalog/catalog_support.h"
#include "ui/processdirform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

class CatalogWindowTest : public test::WindowTest {
protected:
    void Start(const std::string& values, const char* mask) {
        WriteRegistry(values);
        WindowTest::Start();
        form().fileManager->edMask->setEditText(mask);
    }
    template <class D>
    void WhenOpen(std::function<void(D*)> steps) {
        test::WhenOpen<D>(&form(), steps);
    }
};

TEST_F(CatalogWindowTest, MakeTreeAsksTheDirectoriesStoresSaveDirAndWritesTheTree) {
    tmp.Write("music/a.mp3", "1");
    tmp.Write("music/Rock/b.mp3", "2");
    tmp.Write("music/z.txt", "3");
    std::filesystem::create_directories(tmp / "out");
    Start("\"TreeMode\"=dword:00000002\r\n", "*.mp3");
    QAction* entry = Action("mnMakeTree");
    ASSERT_TRUE(entry->isEnabled());
    EXPECT_EQ(entry->shortcut(), QKeySequence("Ctrl+F10"));
    const std::string out = tmp / "out";
    WhenOpen<TProcessDirForm>([&](TProcessDirForm* d) {
        EXPECT_EQ(d->windowTitle(), "Process Directory");
        EXPECT_EQ(FromQt(d->deProcessDir->text()), music);
        EXPECT_EQ(FromQt(d->deSaveDir->text()), music);  // no SaveDir stored yet
        EXPECT_TRUE(d->rgTreeFileNameMode->isVisible());
        EXPECT_FALSE(d->seNumFormat->isVisible());
        EXPECT_EQ(d->cbAddNum->text(), "Add Date && Time to Tree File");
        d->deSaveDir->setText(ToQt(tmp / "missing"));
        d->rgTreeFileNameMode->setItemIndex(1);
        d->bbtnOk->click();
        EXPECT_TRUE(d->isVisible());
        d->deSaveDir->setText(ToQt(out));
        d->bbtnOk->click();
    });
    entry->trigger();
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Lines{"This Directory not exists!!!"});
    EXPECT_EQ(form().settings().treeNameMode, 1);
    const Lines lines = CrLfLines(out + "/music.td");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "music");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "        b.mp3"), 1);
    EXPECT_NE(RegistryText().find("\"SaveDir\"=\"" + out + "\""), std::string::npos);
    EXPECT_EQ(form().statusText(), "Tree written: " + out + "/music.td");

    // The next time the dialog starts with the stored directory; Cancel writes nothing.
    std::filesystem::remove(out + "/music.td");
    WhenOpen<TProcessDirForm>([&](TProcessDirForm* d) {
        EXPECT_EQ(FromQt(d->deSaveDir->text()), out);
        d->bbtnCancel->click();
    });
    entry->trigger();
    EXPECT_FALSE(std::filesystem::exists(out + "/music.td"));
}

TEST_F(CatalogWindowTest, DescriptionsInRussianMoveTheFileManagerToTheScannedDirectory) {
    tmp.Write("music/Album/b.mp3", "1");
    tmp.Write("music/Album/A song.mp3", "2");
    Start("", "*.mp3");
    form().ApplyLanguage(1);
    EXPECT_EQ(Action("mnProcessDirs")->shortcut(), QKeySequence("F9"));
    const std::string album = music + "/Album";
    WhenOpen<TProcessDirForm>([&](TProcessDirForm* d) {
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Процесс по каталогам"));
        EXPECT_EQ(d->lSaveDir->text(), QString::fromUtf8("Каталог для записи:"));
        EXPECT_FALSE(d->rgTreeFileNameMode->isVisible());
        d->cbAddNum->setChecked(true);
        EXPECT_TRUE(d->seNumFormat->isEnabled());
        d->seNumFormat->setValue(2);
        d->edNumSplit->setText("_");
        d->deProcessDir->setText(ToQt(album));
        d->deSaveDir->setText(ToQt(album));
        d->bbtnOk->click();
    });
    Action("mnProcessDirs")->trigger();
    EXPECT_EQ(form().currentDirectory(), album);
    EXPECT_TRUE(form().settings().addingNumber);
    EXPECT_EQ(CrLfLines(music + "/Album.txt"), (Lines{"01_A song", "02_b"}));
}

TEST_F(CatalogWindowTest, TranslitModeDisablesTheNumberingAndRereadsTheList) {
    tmp.Write("music/Зима.mp3", "1");
    tmp.Write("music.txt", Cp("Зима\r\n"));
    Start("", "*.mp3");
    EXPECT_EQ(Action("mnProcessRenFiles")->shortcut(), QKeySequence("Ctrl+F9"));
    WhenOpen<TProcessDirForm>([&](TProcessDirForm* d) {
        EXPECT_FALSE(d->cbAddNum->isEnabled());
        EXPECT_FALSE(d->seNumFormat->isEnabled());
        d->bbtnOk->click();
    });
    Action("mnProcessRenFiles")->trigger();
    EXPECT_EQ(form().fileManager->filesListBox->names(), Lines{"Zima.mp3"});
    EXPECT_EQ(CrLfLines(tmp / "music.txt"), Lines{Cp("Зима")});
}

}  // namespace
}  // namespace tandrel
