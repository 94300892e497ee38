#include <QTest>
#include "app/language.h"
#include "support/mutagen.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagbytes.h"
#include "ui/updateid3tagsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Names = std::vector<std::string>;

class TagBatchTest : public WindowTest {
protected:
    // A tagged song in the music folder: both tags, with album, year and
    // comment. Its path in code page 1251.
    std::string Song(const std::string& name, const std::string& title) {
        const std::string path = Cp(tmp.Write("music/" + name, Audio(1000)));
        TID3v2 v2;
        v2.SetTitle(title);
        v2.SetArtist("Old artist");
        v2.SetAlbum("Old album");
        v2.SetYear("1970");
        v2.SetComment("old comment");
        v2.SetGenre("Jazz");
        EXPECT_TRUE(v2.SaveToFile(path));
        TID3v1 v1;
        v1.SetTitle(title);
        v1.SetAlbum("Old album");
        v1.SetYear("1970");
        v1.SetTrack(9);
        v1.SetGenreID(8);
        EXPECT_TRUE(v1.SaveToFile(path));
        return path;
    }
    void StartOn(const char* mask) {
        Start();
        form().fileManager->edMask->setEditText(mask);
    }
    FileListBox* list() { return form().fileManager->filesListBox; }
    // Selects the names; the last one becomes the current entry.
    void Select(const Names& names) {
        list()->clearSelection();
        for (const std::string& n : names) {
            const auto row = std::find(list()->names().begin(), list()->names().end(), n) - list()->names().begin();
            const QModelIndex index = list()->model()->index(static_cast<int>(row), 0);
            ASSERT_TRUE(index.isValid()) << n;
            list()->selectionModel()->select(index, QItemSelectionModel::Select);
            list()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
    }
    QPushButton* Button(const char* name) { return Control<QPushButton>(name); }
    static TID3v1 V1(const std::string& path) {
        TID3v1 t;
        EXPECT_TRUE(t.ReadFromFile(path));
        return t;
    }
    static TID3v2 V2(const std::string& path) {
        TID3v2 t;
        EXPECT_TRUE(t.ReadFromFile(path));
        return t;
    }
    // Opens "ID3..." and runs steps on the dialog before the test's own OK or Cancel.
    void ChangeID3(std::function<void(TUpdateID3tagsForm*)> steps) {
        WhenOpen<TUpdateID3tagsForm>(&form(), steps);
        Button("bbtnChangeID3")->click();
    }
};

TEST_F(TagBatchTest, TheButtonsFollowTheAudioMask) {
    StartOn("*.mp3");
    EXPECT_TRUE(Button("bbtnFromFileNameToID3")->isEnabled());
    EXPECT_TRUE(Button("bbtnChangeID3")->isEnabled());
    form().fileManager->edMask->setEditText("*.txt");
    EXPECT_FALSE(Button("bbtnFromFileNameToID3")->isEnabled());
    EXPECT_FALSE(Button("bbtnChangeID3")->isEnabled());
}

TEST_F(TagBatchTest, FileNameOnTwoFilesWritesBothTagsWithThePanelsGenre) {
    if (MutagenPython().empty()) GTEST_SKIP() << "python3 cannot import mutagen";
    const std::string a = Song("07 - Кино - Звезда.mp3", "x");
    const std::string b = Song("Artist_Name Song_Title.mp3", "y");
    StartOn("*.mp3");
    Control<QComboBox>("cbID3v1Genre")->setCurrentIndex(18);  // entry 18: genre 17
    Control<QComboBox>("cbID3v2Genre")->setEditText("Rock");
    Select({Cp("07 - Кино - Звезда.mp3"), "Artist_Name Song_Title.mp3"});
    Button("bbtnFromFileNameToID3")->click();

    EXPECT_EQ(prompter.Count(PromptKind::Message), 0u) << prompter.Texts(PromptKind::Message)[0];
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor), (Names{"busy", "idle"}));
    EXPECT_TRUE(Button("bbtnFromFileNameToID3")->isEnabled());
    const std::map<std::string, std::string> first = {
        {"version", "2.3"}, {"TRCK", "7"}, {"TPE1", "Кино"}, {"TIT2", "Звезда"}, {"TCON", "Rock"},
        {"v1.TRCK", "7"}, {"v1.TPE1", "Кино"}, {"v1.TIT2", "Звезда"}, {"v1.TCON", "Rock"},
    };
    EXPECT_EQ(MutagenOracle("read", Cp1251ToUtf8(a)), first);  // album, year and comment are gone
    const std::map<std::string, std::string> second = {
        {"version", "2.3"}, {"TPE1", "Artist Name"}, {"TIT2", "Song Title"}, {"TCON", "Rock"},
        {"v1.TPE1", "Artist Name"}, {"v1.TIT2", "Song Title"}, {"v1.TCON", "Rock"},
    };
    EXPECT_EQ(MutagenOracle("read", b), second);
    EXPECT_EQ(V1(b).GenreID(), 17);
    // The panel shows the last file's tags, and saves go to it.
    EXPECT_EQ(Control<QLineEdit>("edID3v2Artist")->text(), "Artist Name");
    EXPECT_TRUE(Control<QCheckBox>("cbID3v1Tag")->isChecked());
}

TEST_F(TagBatchTest, FileNameOnOneFileFillsThePanelOnlyAndUpdateSavesIt) {
    const std::string path = Song("03_Artist_Name_Song.mp3", "Old");
    const std::string before = ReadAll(path);
    StartOn("*.mp3");
    Select({"03_Artist_Name_Song.mp3"});
    emit list()->clicked(list()->currentIndex());  // the panel shows the file's tags
    Button("bbtnFromFileNameToID3")->click();
    EXPECT_EQ(ReadAll(path), before);
    for (const char* half : {"v1", "v2"}) {
        SCOPED_TRACE(half);
        const std::string p = std::string("edID3") + half;
        EXPECT_EQ(Control<QLineEdit>((p + "TrackNum").c_str())->text(), "03");
        EXPECT_EQ(Control<QLineEdit>((p + "Artist").c_str())->text(), "Artist");
        EXPECT_EQ(Control<QLineEdit>((p + "Title").c_str())->text(), "Song");
        EXPECT_TRUE(Control<QCheckBox>((std::string("cbID3") + half + "Tag").c_str())->isChecked());
    }
    Button("bbtnSaveID3v2")->click();
    EXPECT_EQ(V2(path).Artist(), "Artist");
    EXPECT_EQ(V2(path).Album(), "Old album");  // the panel was not emptied without the batch
    EXPECT_EQ(V1(path).Title(), "Old");
}

TEST_F(TagBatchTest, FileNameReportsAFileThatFailsAndWritesTheOthers) {
    const std::string a = Song("A - One.mp3", "x");
    const std::string tiny = tmp.Write("music/B - Two.mp3", "tiny");
    const std::string c = Song("C - Three.mp3", "z");
    StartOn("*.mp3");
    Select({"A - One.mp3", "B - Two.mp3", "C - Three.mp3"});
    Button("bbtnFromFileNameToID3")->click();
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Names{"Can not save tag to the file: " + tiny});
    EXPECT_EQ(ReadAll(tiny), "tiny");
    EXPECT_EQ(V2(a).Title(), "One");
    EXPECT_EQ(V1(c).Title(), "Three");
}

TEST_F(TagBatchTest, UpdateWithOnlyTheYearChangesOnlyTheYear) {
    const std::string a = Song("a.mp3", "First");
    const std::string b = Song("b.mp3", "Second");
    StartOn("*.mp3");
    Select({"a.mp3", "b.mp3"});
    ChangeID3([](TUpdateID3tagsForm* d) {
        EXPECT_EQ(d->rgID3TagMode->itemIndex(), 0);
        d->edID3Year->setText("1989");
        d->bbtnOk->click();
    });
    EXPECT_EQ(prompter.Count(PromptKind::Message), 0u);
    for (const auto& [path, title] : {std::pair{a, "First"}, std::pair{b, "Second"}}) {
        const TID3v1 v1 = V1(path);
        EXPECT_EQ(v1.Year(), "1989");
        EXPECT_EQ(v1.Title(), title);
        EXPECT_EQ(v1.Album(), "Old album");
        EXPECT_EQ(v1.Track(), 9);
        EXPECT_EQ(v1.GenreID(), 8);
        const TID3v2 v2 = V2(path);
        EXPECT_EQ(v2.Year(), "1989");
        EXPECT_EQ(v2.Title(), title);
        EXPECT_EQ(v2.Artist(), "Old artist");
        EXPECT_EQ(v2.Comment(), "old comment");
        EXPECT_EQ(v2.Genre(), "Jazz");
    }
}

TEST_F(TagBatchTest, UpdateOfID3v2WithBluesLeavesID3v1Untouched) {
    const std::string a = Song("a.mp3", "First");
    const std::string b = Song("b.mp3", "Second");
    const std::string v1Before = ReadAll(a).substr(ReadAll(a).size() - 128);
    StartOn("*.mp3");
    Select({"a.mp3", "b.mp3"});
    ChangeID3([](TUpdateID3tagsForm* d) {
        d->rgID3TagMode->setItemIndex(2);
        d->cbID3Genre->setCurrentIndex(1);  // "Blues", genre 0
        d->bbtnOk->click();
    });
    EXPECT_EQ(V2(a).Genre(), "Blues");
    EXPECT_EQ(V2(b).Genre(), "Blues");
    EXPECT_EQ(V2(b).Title(), "Second");
    EXPECT_EQ(ReadAll(a).substr(ReadAll(a).size() - 128), v1Before);
    EXPECT_EQ(V1(b).GenreID(), 8);
}

TEST_F(TagBatchTest, UpdateNeedsTwoSelectedFilesAndItsDialogSpeaksRussian) {
    Song("a.mp3", "First");
    Song("b.mp3", "Second");
    StartOn("*.mp3");
    Select({"a.mp3"});
    Button("bbtnChangeID3")->click();  // no dialog opens: a test would hang
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Names{"Please, choose file for searching!"});

    form().ApplyLanguage(kRussian);
    Select({"a.mp3", "b.mp3"});
    ChangeID3([](TUpdateID3tagsForm* d) {
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Обновление/замена ID3 Тэгов"));
        EXPECT_EQ(d->lID3Comment->text(), QString::fromUtf8("Коммет."));
        EXPECT_EQ(d->rgID3TagMode->itemText(1), QString::fromUtf8("ID3v1 Тэг"));
        EXPECT_EQ(d->cbID3Genre->count(), 149);
        EXPECT_EQ(d->cbID3Genre->currentText(), "");
        d->bbtnCancel->click();
    });
    EXPECT_EQ(V2(music + "/a.mp3").Title(), "First");
}

TEST_F(TagBatchTest, EscStopsTheFileNameBatchBetweenTwoFiles) {
    const Names names{"Artist_A Title_A.mp3", "Artist_B Title_B.mp3", "Artist_C Title_C.mp3"};
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(Song(name, "kept"));
    StartOn("*.mp3");
    Select(names);
    bool pressed = false;
    prompter.onProgress = [&](const ProgressInfo& progress) {
        if (pressed) return;
        pressed = true;
        EXPECT_EQ(progress.total, 3);
        Key(list(), Qt::Key_Escape);
    };
    Button("bbtnFromFileNameToID3")->click();
    ASSERT_TRUE(pressed);
    int written = 0;
    for (const std::string& path : paths) written += V2(path).Title() != "kept";
    EXPECT_EQ(written, 1);  // the file shown when Esc went down, and no other
    EXPECT_EQ(form().statusText(), "1 of 3 files (cancelled by the user)");
    EXPECT_TRUE(Button("bbtnFromFileNameToID3")->isEnabled());
}

// The update runs from its dialog: Esc there stops the batch and the
// dialog's buttons stay inert while it runs.
TEST_F(TagBatchTest, EscInTheUpdateDialogStopsTheBatchInsteadOfClosingTheDialog) {
    const Names names{"a.mp3", "b.mp3", "c.mp3"};
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(Song(name, "kept"));
    StartOn("*.mp3");
    Select(names);
    int reports = 0;
    ChangeID3([&](TUpdateID3tagsForm* d) {
        prompter.onProgress = [&, d](const ProgressInfo&) {
            if (++reports > 1) return;
            QTest::mouseClick(d->bbtnCancel, Qt::LeftButton);
            Key(d->edID3Year, Qt::Key_Escape);
            EXPECT_TRUE(d->isVisible());
        };
        d->edID3Year->setText("1989");
        d->bbtnOk->click();
    });
    ASSERT_GE(reports, 1);
    int written = 0;
    for (const std::string& path : paths) written += V1(path).Year() == "1989";
    EXPECT_EQ(written, 1);
    EXPECT_EQ(form().statusText(), "1 of 3 files (cancelled by the user)");
}

}  // namespace
}  // namespace tandrel
