// Every menu and pop-up entry of the main window, triggered in a scripted
// session, reaches its operation: each leaves the trace its operation makes
// (a dialog, a question, a changed output, a started program, ...).
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QItemSelectionModel>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "support/recording_launcher.h"
#include "ui/checklist.h"
#include "ui/filelists.h"
#include "ui/regions.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using test::PromptKind;

struct Row {
    friend void PrintTo(const Row& row, std::ostream* os) { *os << row.action; }
    const char* action;
    // Scripted answers in order: "Y", "N", "C" (cancel), or "T:" + text (places as in Substitute).
    std::vector<std::string> answers;
    // A trace the operation leaves (see Traces); matched as a prefix of one trace.
    std::string expected;
};

// clang-format off
const Row kRows[] = {
    {"mnOpen", {"T:%m/notes.txt"}, "output:one|two"},
    {"mnOpenWin", {"T:%m/notes.txt"}, "window:TEditForm"},
    {"mnSave", {"C"}, "yesno:File \"%m/list.m3u\" already exist."},
    {"mnSaveAs", {"T:%m/saved.txt"}, "file:%m/saved.txt"},
    {"mnExit", {}, "closed"},
    {"mnSortLines", {}, "output:#EXTINF:10,Title B|a.mp3|b.mp3"},
    {"mnPasteFromClipboard", {}, "find:subpasted"},
    {"mnGetM3Uinf", {}, "output:Title B"},
    {"mnGetM3Unames", {}, "output:a|b"},
    {"mnFindM3Unames", {}, "output:%m/a.mp3|"},
    {"mnGetMP3files", {}, "output:a|b|D|"},
    {"mnGetM3UnamesAndSaveToFile", {}, "file:%m/list.txt"},
    {"mnFind", {"C"}, "input:Input string of finding:"},
    {"mnFindDir", {}, "output:%m/sub"},
    {"mnFindlocal", {"C"}, "open:"},
    {"mnSynonyms", {}, "dialog:TSynonymsForm:Synonyms"},
    {"mnProcessDirs", {}, "dialog:TProcessDirForm:"},
    {"mnProcessRenFiles", {}, "dialog:TProcessDirForm:"},
    {"mnMakeTree", {}, "dialog:TProcessDirForm:"},
    {"mnRenameToTranslit", {}, "file:%m/Kino.mp3"},
    {"mnRenameToLowerCase", {}, "file:%m/кино.mp3"},
    {"mnRenameToUpperCase", {}, "file:%m/A.MP3"},
    {"mnRenameToUpLoCase", {}, "file:%m/A.Mp3"},
    {"mnRenameToUpFirstLettersOfArtistAndTitleLoCase", {}, "file:%m/A.mp3"},
    {"mnRenameToUpFirstLetterLoCase", {}, "file:%m/A.mp3"},
    {"mnAddCountStrToFileNames", {}, "dialog:TFileAddNumForm:"},
    {"mnDelFrstSymFromFileNames", {}, "dialog:TFileDelSymForm:"},
    {"mnSortDateAddCountToFileNames", {}, "dialog:TSortFileAddNumForm:"},
    {"mnRenExtToLowCase", {}, "file:%m/D.mp3"},
    {"mnExtChange", {}, "dialog:TExtChangerForm:Extension Changer"},
    {"mnSubStrChange", {}, "dialog:TExtChangerForm:Change Substring"},
    {"mnRenameFromIniFileRen", {}, "status:No rename log (rename.ini) found in %m"},
    {"mnRenameFromIniFileDel", {}, "status:No rename log (rename.ini) found in %m"},
    {"mnRepairNames", {}, "status:No legacy file names to repair"},
    {"mnRepairNamesBack", {}, "status:No rename log (rename.ini) found in %m"},
    {"mnRepairTags", {}, "status:No ID3v2 text to repair"},
    {"mnSettings", {}, "dialog:TSettingsForm:Settings"},
    {"mnLang", {}, "dialog:TLangForm:Language"},
    {"mnHomeDir", {}, "dialog:TDirectoryForm:Home Directory"},
    {"mnFromID3RenameOptions", {}, "dialog:TFromID3RenameOptionsForm:"},
    {"mnSaveSettings", {}, "file:%d/TdSettings.ini"},
    {"mnRestoreSettings", {}, "find:restored"},
    {"mnAbout", {}, "dialog:AboutBox:About Tandrel"},
    {"pmPlay", {}, "desktop:%m/a.mp3"},
    {"pmWordsSearch", {}, "output:%m/a.mp3"},
    {"pmCopyWordsToFind", {}, "find:a"},
    {"pmCopyFile", {}, "dialog:TDirectoryForm:Save to Directory..."},
    {"pmRename", {}, "focus:edFile4FileListBox"},
    {"pmRenameToTranslit", {}, "file:%m/Kino.mp3"},
    {"pmRenameToLowerCase", {}, "file:%m/кино.mp3"},
    {"pmRenameToUpperCase", {}, "file:%m/A.MP3"},
    {"pmRenameToUpLoCase", {}, "file:%m/A.Mp3"},
    {"pmRenameToUpFirstLettersOfArtistAndTitleLoCase", {}, "file:%m/A.mp3"},
    {"pmRenameToUpFirstLetterLoCase", {}, "file:%m/A.mp3"},
    {"pmGoToDir", {"T:sub"}, "cwd:%m/sub"},
    {"pmShowID3tags", {}, "tags:Alpha"},
    {"pmPlayList", {}, "desktop:%d/playlist.m3u"},
    {"pmAddPlayList", {}, "start:%t/bin/player"},
    {"pmToClipBoard", {}, "clipboard:a.mp3"},
    {"pmCheckedToClipBoard", {}, "clipboard:a.mp3\r\n#EXTINF:10,Title B\r\nb.mp3"},
    {"pmCopyFiles", {}, "dialog:TDirectoryForm:Save to Directory..."},
    {"pmDownloadFile", {}, "desktop:a.mp3"},
};
// clang-format on

// The places a row names: %m the music folder, %d the program folder, %t the test folder.
std::string Substitute(std::string text, const test::TempDir& tmp) {
    const std::pair<const char*, std::string> places[] = {
        {"%m", tmp / "music"}, {"%d", tmp / "data/Tandrel"}, {"%t", tmp / ""}};
    for (const auto& [key, place] : places) {
        std::string value = place;
        if (!value.empty() && value.back() == '/') value.pop_back();
        for (std::size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, 2, value);
    }
    return text;
}

class EveryActionTest : public test::WindowTest, public ::testing::WithParamInterface<Row> {
protected:
    // A folder with music (one file tagged), a playlist, a text file and a
    // folder; the window shown with a media mask, the playlist open in the
    // check list (every line checked, the first chosen), the first file
    // selected, words in the search box and a text on the clipboard: the state
    // in which every entry is usable.
    void Prepare() {
        std::string tagged(4096, '\0');  // big enough for the panel to show its tag
        tagged += "TAG" + Field("Alpha", 30) + Field("Artist", 30) + Field("", 30) + "2001" + Field("", 30) + "\x0C";
        tmp.Write("music/a.mp3", tagged);
        tmp.Write("music/b.mp3", std::string(200, '\0'));
        tmp.Write("music/D.MP3", std::string(200, '\0'));
        tmp.Write("music/Кино.mp3", std::string(200, '\0'));
        const std::string player = tmp.Write("bin/player", "#!/bin/sh\n");
        tmp.Write("music/notes.txt", "one\r\ntwo\r\n");
        tmp.Write("music/list.m3u", "a.mp3\r\n#EXTINF:10,Title B\r\nb.mp3\r\n");
        tmp.Write("data/Tandrel/TdSettings.ini", "[Settings]\r\nFindText=restored\r\n");
        fs::create_directories(music + "/sub");
        Start();
        auto recording = std::make_unique<test::RecordingLauncher>();
        launcher = recording.get();
        form().setLauncher(std::move(recording));
        form().show();
        QApplication::processEvents();
        form().settings().audioProgramMode = 1;
        form().settings().audioProgram = player;
        form().setFileMask("*.mp3");
        Control<QCheckBox>("cbAddFileName")->setChecked(false);
        (void)form().OpenOutputDocument(OpenMode::FileList, music + "/list.m3u");
        Control<TRadioGroup>("rgEditMode")->button(1)->click();
        form().checkList().setAllChecked(true);
        auto* view = Control<QListView>("clbOutput");
        view->setCurrentIndex(view->model()->index(0, 0));
        // Every file selected, "a.mp3" the current one.
        FileListBox* files = form().fileManager->filesListBox;
        files->selectAllEntries();
        for (int row = 0; row < files->model()->rowCount(); ++row) {
            const QModelIndex index = files->model()->index(row, 0);
            if (index.data().toString() == "a.mp3")
                files->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        Control<QLineEdit>("edID3v1Title")->clear();  // choosing the file showed its tags
        form().advancedSearch->cbScanDir->setChecked(true);
        form().searchBox->edFind->setText("sub");
        QApplication::clipboard()->setText("pasted");
    }
    static std::string Field(const std::string& text, std::size_t size) {
        return text + std::string(size - text.size(), '\0');
    }

    struct Snapshot {
        std::string status, output, clipboard, cwd, find, mask, title, focus;
        std::map<std::string, std::string> files;  // music and program folders: path and contents
        std::set<QWidget*> windows;
        std::size_t calls = 0, started = 0, opened = 0;
        bool formVisible = true;
    };
    Snapshot Take() {
        Snapshot s;
        s.status = form().statusText();
        for (const std::string& line : form().visibleOutputLines()) s.output += (s.output.empty() ? "" : "|") + line;
        s.clipboard = QApplication::clipboard()->text().toStdString();
        s.cwd = form().currentDirectory();
        s.find = FromQt(form().searchBox->edFind->text());
        s.mask = form().fileMask();
        s.title = FromQt(Control<QLineEdit>("edID3v1Title")->text());
        s.focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "";
        for (const std::string& dir : {music, std::string(tmp / "data/Tandrel")})
            for (const auto& e : fs::recursive_directory_iterator(dir))
                s.files[e.path().string()] = e.is_regular_file() ? test::ReadAll(e.path().string()) : "";
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) s.windows.insert(w);
        s.calls = prompter.calls().size();
        s.started = launcher->started.size();
        s.opened = launcher->opened.size();
        s.formVisible = form().isVisible();
        return s;
    }

    // What changed between two snapshots, one trace each: "dialog:NAME:TITLE"
    // (a modal dialog, closed by the harness), "window:NAME", "message:TEXT",
    // "yesno:TEXT", "input:PROMPT", "open:TITLE", "save:TITLE", "dir:TITLE",
    // "status:TEXT", "output:LINE|LINE", "clipboard:TEXT", "cwd:DIR",
    // "find:TEXT", "mask:TEXT", "tags:TITLE", "focus:NAME", "file:PATH" (made,
    // changed or gone), "start:PROGRAM", "desktop:PATH", "closed".
    std::vector<std::string> Traces(const Snapshot& a, const Snapshot& b) {
        std::vector<std::string> t = dialogs;
        for (std::size_t i = a.calls; i < prompter.calls().size(); ++i) {
            const test::PromptCall& c = prompter.calls()[i];
            switch (c.kind) {
                case PromptKind::Message: t.push_back("message:" + c.text); break;
                case PromptKind::YesNo: case PromptKind::YesNoCancel: t.push_back("yesno:" + c.text); break;
                case PromptKind::Input: t.push_back("input:" + c.text); break;
                case PromptKind::OpenFile: t.push_back("open:" + c.text); break;
                case PromptKind::SaveFile: t.push_back("save:" + c.text); break;
                case PromptKind::Directory: t.push_back("dir:" + c.text); break;
                default: break;
            }
        }
        for (QWidget* w : b.windows)
            if (!a.windows.count(w)) t.push_back("window:" + w->objectName().toStdString());
        const std::pair<const std::string*, const std::string*> values[] = {
            {&a.status, &b.status}, {&a.output, &b.output}, {&a.clipboard, &b.clipboard}, {&a.cwd, &b.cwd},
            {&a.find, &b.find},     {&a.mask, &b.mask},     {&a.title, &b.title},         {&a.focus, &b.focus},
        };
        const char* names[] = {"status:", "output:", "clipboard:", "cwd:", "find:", "mask:", "tags:", "focus:"};
        for (std::size_t i = 0; i < std::size(values); ++i)
            if (*values[i].first != *values[i].second) t.push_back(names[i] + *values[i].second);
        for (const auto& [path, bytes] : b.files)
            if (!a.files.count(path) || a.files.at(path) != bytes) t.push_back("file:" + path);
        for (const auto& [path, bytes] : a.files)
            if (!b.files.count(path)) t.push_back("file:" + path);
        if (b.started > a.started) t.push_back("start:" + launcher->started.back().program);
        if (b.opened > a.opened) t.push_back("desktop:" + launcher->opened.back());
        if (a.formVisible && !b.formVisible) t.push_back("closed");
        return t;
    }

    test::RecordingLauncher* launcher = nullptr;
    std::vector<std::string> dialogs;
};

TEST_P(EveryActionTest, ReachesItsOperation) {
    const Row& row = GetParam();
    Prepare();
    QAction* action = Action(row.action);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled()) << row.action << " is disabled";
    for (const std::string& a : row.answers) {
        if (a == "Y") prompter.Yes();
        else if (a == "N") prompter.No();
        else if (a == "C") prompter.Cancel();
        else prompter.Text(Substitute(a.substr(2), tmp));
    }
    // Modal dialogs that open are recorded and closed; a rename's preview is
    // accepted, so the rename goes on to its files.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialogs.push_back("dialog:" + dialog->objectName().toStdString() + ":" +
                              dialog->windowTitle().toStdString());
            if (dialog->objectName() == "RenamePreviewForm")
                dialog->accept();
            else
                dialog->reject();
        }
    });
    closer.start(10);
    const Snapshot before = Take();
    action->trigger();
    QTest::qWait(20);
    closer.stop();
    const std::vector<std::string> traces = Traces(before, Take());
    std::string all;
    for (const std::string& t : traces) all += "\n  " + t;
    const std::string expected = Substitute(row.expected, tmp);
    EXPECT_TRUE(std::any_of(traces.begin(), traces.end(),
                            [&](const std::string& t) { return t.rfind(expected, 0) == 0; }))
        << row.action << " expected " << expected << ", traces:" << all;
    EXPECT_EQ(prompter.PendingAnswers(), 0u) << row.action;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &form() && w->isVisible()) w->hide();
}

INSTANTIATE_TEST_SUITE_P(MainWindow, EveryActionTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.action); });

class MenuTableTest : public test::WindowTest {};

// The table above holds every entry of the window's menus, and nothing else.
TEST_F(MenuTableTest, NamesEveryEntry) {
    Start();
    std::set<std::string> entries, rows;
    for (const auto& [name, action] : form().menus().actions.asKeyValueRange())
        if (!action->isSeparator()) entries.insert(name.toStdString());
    for (const Row& r : kRows) rows.insert(r.action);
    EXPECT_EQ(entries, rows);
}

}  // namespace
}  // namespace tandrel
