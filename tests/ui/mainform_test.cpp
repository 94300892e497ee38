#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/language.h"
#include "text/cp1251.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;

using MainWindowTest = test::WindowTest;

// The text a language row sets on its control.
QString TextOf(QWidget* window, const LanguageRow& row) {
    const QString name = QString::fromStdString(row.control);
    QObject* target = window->objectName() == name ? window : nullptr;
    if (!target) target = window->findChild<QMenu*>(name);
    if (!target) target = window->findChild<QObject*>(name);
    if (!target) return "<missing control>";
    if (row.property == TextProperty::Hint) {
        if (auto* a = qobject_cast<QAction*>(target)) return a->toolTip();
        return qobject_cast<QWidget*>(target)->toolTip();
    }
    if (row.property == TextProperty::Item) return qobject_cast<TRadioGroup*>(target)->itemText(row.index);
    if (auto* a = qobject_cast<QAction*>(target)) return a->text();
    if (auto* m = qobject_cast<QMenu*>(target)) return m->title();
    if (auto* g = qobject_cast<QGroupBox*>(target)) return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(target)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(target)) return l->text();
    return qobject_cast<QWidget*>(target)->windowTitle();
}

TEST_F(MainWindowTest, FirstStartShowsTheBuiltInStateAndListsTheCurrentDirectory) {
    tmp.Write("music/song.txt", "x");
    tmp.Write("music/song.mp3", "x");
    Start();
    EXPECT_EQ(Control<QComboBox>("edMask")->currentText(), "*.txt");
    EXPECT_EQ(Control<TRadioGroup>("rgFindMode")->itemIndex(), 1);
    EXPECT_TRUE(Control<QCheckBox>("cbOverSearch")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>("cbFullString")->isChecked());
    EXPECT_FALSE(Control<QWidget>("gbID3tags")->isHidden());
    EXPECT_TRUE(Control<QWidget>("gbTextFinderAdvanced")->isHidden());
    EXPECT_FALSE(form().settings().recursiveRename);  // the table's defaults need an existing key
    EXPECT_EQ(form().fileManager->filesListBox->names(), std::vector<std::string>{"song.txt"});
    EXPECT_EQ(form().statusText(), music + "/*.txt");
    EXPECT_EQ(form().minimumWindowHeight(), 0);
    EXPECT_EQ(Control<QComboBox>("edMask")->count(), 10);
}

TEST_F(MainWindowTest, EmptyKeyAppliesTheDefaultsAndExitWritesThemAsReadableText) {
    // The values themselves are the settings tests' business; here the window follows them.
    WriteRegistry("");
    Start();
    EXPECT_TRUE(form().settings().recursiveRename);
    EXPECT_TRUE(Control<QWidget>("gbID3tags")->isHidden());  // ID3Show absent counts as false
    EXPECT_EQ(form().minimumWindowHeight(), 334);
    EXPECT_EQ(Control<QPushButton>("btnID3Show")->text(), "ID3 >>");
    const std::string reg = Exit();
    EXPECT_NE(reg.find("\"ID3Show\"=dword:00000000\r\n"), std::string::npos) << reg;
}

TEST_F(MainWindowTest, SettingsComeBackAtTheNextStart) {
    WriteRegistry("");
    Start();
    Control<QCheckBox>("cbAddFileName")->setChecked(true);
    Control<QLineEdit>("edFind")->setText(QString::fromUtf8("ёлка"));
    Control<TRadioGroup>("rgFindMode")->setItemIndex(0);
    form().btnFindAdvancedShowClick();
    Exit();
    Start();
    EXPECT_TRUE(Control<QCheckBox>("cbAddFileName")->isChecked());
    EXPECT_EQ(Control<QLineEdit>("edFind")->text(), QString::fromUtf8("ёлка"));
    EXPECT_EQ(Control<TRadioGroup>("rgFindMode")->itemIndex(), 0);
    EXPECT_FALSE(Control<QWidget>("gbTextFinderAdvanced")->isHidden());
    EXPECT_TRUE(Control<QWidget>("gbID3tags")->isHidden());
    EXPECT_EQ(form().minimumWindowHeight(), 450);
}

TEST_F(MainWindowTest, ExportAndImportRoundTripThroughTheSettingsFile) {
    tmp.Write("data/Tandrel/TdSettings.ini", "");
    Start();
    Control<QCheckBox>("cbAddFilePath")->setChecked(true);
    Control<QLineEdit>("edFindDrv")->setText("/media/a");
    Action("mnSaveSettings")->trigger();
    Control<QCheckBox>("cbAddFilePath")->setChecked(false);
    Control<QLineEdit>("edFindDrv")->setText("");
    Action("mnRestoreSettings")->trigger();
    EXPECT_TRUE(Control<QCheckBox>("cbAddFilePath")->isChecked());
    EXPECT_EQ(Control<QLineEdit>("edFindDrv")->text(), "/media/a");
    EXPECT_NE(test::ReadAll(tmp / "data/Tandrel/TdSettings.ini").find("AddFilePathMode=1"), std::string::npos);
}

TEST_F(MainWindowTest, EveryTextOfTheTablesHasItsControlAndSwitchingBackRestoresEnglish) {
    Start();
    form().ApplyLanguage(kRussian);
    EXPECT_EQ(Control<QPushButton>("bbtnFind")->text(), QString::fromUtf8("&Найти"));
    EXPECT_EQ(Action("pmRenameToTranslit")->text(), Action("mnRenameToTranslit")->text());
    EXPECT_EQ(windows->langForm->windowTitle(), QString::fromUtf8("Язык"));
    form().ApplyLanguage(kEnglish);
    for (const LanguageRow& row : MainFormTexts()) {
        if (row.control == kApplicationTitleControl) continue;
        EXPECT_EQ(TextOf(&form(), row), QString::fromStdString(Cp1251ToUtf8(row.english)))
            << row.control << " " << static_cast<int>(row.property) << " " << row.index;
    }
    for (const LanguageRow& row : LangFormTexts())
        EXPECT_EQ(TextOf(windows->langForm.get(), row), QString::fromStdString(Cp1251ToUtf8(row.english)));
    EXPECT_EQ(Action("mnOpenWin")->text(), "Open in &Window......");
    EXPECT_EQ(windows->editForm->mnSortLines->text(), "Sort Lines");
    EXPECT_EQ(Control<QPushButton>("bbtnPlayList")->toolTip(), "Play List");
}

TEST_F(MainWindowTest, SwitchingTheLanguageKeepsTheOutputNameInBothCaptions) {
    tmp.Write("music/sbornik.m3u", "a.mp3\r\n");
    Start();
    form().OpenOutputDocument(OpenMode::FileList, "sbornik.m3u");
    for (int language : {kRussian, kEnglish, kRussian}) {
        form().ApplyLanguage(language);
        const QString prefix = QString::fromUtf8(language == kRussian ? "Файл: " : "Edit File: ");
        EXPECT_EQ(form().output->title(), prefix + "sbornik.m3u");
        EXPECT_EQ(form().windowTitle(), "Tandrel - sbornik.m3u");
    }
    // The speed buttons beside the search box read as buttons, with hints in the language.
    for (const char* name : {"sbtnFindTextToTranslit", "sbtnFindTextTransKeyCod"}) {
        auto* button = Control<QToolButton>(name);
        EXPECT_FALSE(button->autoRaise()) << name;
        EXPECT_FALSE(button->toolTip().isEmpty()) << name;
    }
    EXPECT_EQ(Control<QToolButton>("sbtnFindTextToTranslit")->toolTip(), QString::fromUtf8("Перевести в транслит"));
}

TEST_F(MainWindowTest, StandardButtonsOfMessageBoxesFollowTheLanguage) {
    Start();
    auto yesText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    form().ApplyLanguage(kRussian);
    EXPECT_EQ(yesText(), QString::fromUtf8("&Да"));
    form().ApplyLanguage(kEnglish);
    EXPECT_EQ(yesText(), "&Yes");
}

// Captions of buttons, check boxes and labels that are narrower than their
// text, as "object: caption" lines.
std::vector<std::string> CutCaptions(QWidget* window) {
    std::vector<std::string> cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->width() <= 0) continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (text.isEmpty() || w->objectName() == "StatusBarText") continue;
        // A push or tool button shows its caption inside its frame; the others need their whole size hint.
        const bool framed = qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w);
        const int needed = framed ? w->fontMetrics().horizontalAdvance(QString(text).remove('&')) + 6
                                  : w->sizeHint().width();
        // Wide enough, high enough, and not hidden in part by a parent that is too small.
        bool clipped = false;
        QRect area = w->rect();
        for (QWidget* child = w; child != window && child->parentWidget(); child = child->parentWidget()) {
            area.translate(child->pos());
            clipped = clipped || !child->parentWidget()->rect().contains(area);
        }
        if (clipped || w->width() < needed || w->height() < w->minimumSizeHint().height())
            cut.push_back(w->objectName().toStdString() + ": " + text.toStdString() + " " + std::to_string(w->width()) + "/" + std::to_string(needed) + " h" + std::to_string(w->height()) + "/" + std::to_string(w->minimumSizeHint().height()));
    }
    return cut;
}

TEST_F(MainWindowTest, NoCaptionIsCutAtTheMinimumSizeInEitherLanguage) {
    Start();
    form().show();
    for (int language : {kEnglish, kRussian}) {
        form().ApplyLanguage(language);
        // Tag panel (shown at the first start), advanced panel, neither.
        for (QPushButton* toggle : {static_cast<QPushButton*>(nullptr), Control<QPushButton>("btnFindAdvancedShow"),
                                    Control<QPushButton>("btnID3Show")}) {
            if (toggle) toggle->click();
            form().resize(form().minimumSize());
            QApplication::processEvents();
            EXPECT_EQ(form().width(), 648);
            EXPECT_EQ(CutCaptions(&form()), std::vector<std::string>{}) << "language " << language;
        }
        Control<QPushButton>("btnID3Show")->click();  // back to the tag panel
        QApplication::processEvents();
    }
}

TEST_F(MainWindowTest, StoredLanguageTwoKeepsEnglishAndIsNotRewritten) {
    WriteRegistry("\"LangIndex\"=dword:00000002\r\n");
    Start();
    EXPECT_EQ(Control<QPushButton>("bbtnFind")->text(), "&Find");
    EXPECT_TRUE(windows->langForm->rgLang->button(1)->isChecked());
    const std::string reg = Exit();
    EXPECT_NE(reg.find("\"LangIndex\"=dword:00000002"), std::string::npos);
}

TEST_F(MainWindowTest, LanguageDialogSwitchesOnOkAndCancelChangesNothing) {
    Start();
    TLangForm* lang = windows->langForm.get();
    QMetaObject::invokeMethod(lang, [lang] {
        lang->rgLang->button(1)->click();
        lang->bbtnCancel->click();
    }, Qt::QueuedConnection);
    lang->exec();
    EXPECT_EQ(Control<QPushButton>("bbtnFind")->text(), "&Find");
    QMetaObject::invokeMethod(lang, [lang] {
        lang->rgLang->button(1)->click();
        lang->bbtnOk->click();
    }, Qt::QueuedConnection);
    lang->exec();
    EXPECT_EQ(Control<QPushButton>("bbtnFind")->text(), QString::fromUtf8("&Найти"));
    const std::string reg = Exit();
    EXPECT_NE(reg.find("\"LangIndex\"=dword:00000001"), std::string::npos);
}

TEST_F(MainWindowTest, ExitQuestionOnlyWhenConfirmationIsOn) {
    Start();
    form().show();
    EXPECT_TRUE(form().close());
    EXPECT_EQ(prompter.Count(PromptKind::YesNo), 0u);

    form().show();
    form().settings().confirmationOnExit = true;
    prompter.No();
    EXPECT_FALSE(form().close());
    EXPECT_TRUE(form().isVisible());
    ASSERT_EQ(prompter.Texts(PromptKind::YesNo).size(), 1u);
    EXPECT_EQ(prompter.Texts(PromptKind::YesNo)[0], "Do You really want to Exit from Program ?");
    prompter.Yes();
    EXPECT_TRUE(form().close());
}

TEST_F(MainWindowTest, MaskChangeEnablesTheMediaCommands) {
    Start();
    QComboBox* mask = Control<QComboBox>("edMask");
    QPushButton* getFiles = Control<QPushButton>("bbtnGetMP3files");
    QPushButton* fromId3 = Control<QPushButton>("bbtnFromID3Rename");
    mask->setEditText("*.mp3");
    EXPECT_EQ(getFiles->text(), "mp3");
    EXPECT_TRUE(Action("mnGetMP3files")->isEnabled());
    EXPECT_TRUE(fromId3->isEnabled());
    EXPECT_TRUE(Action("pmPlay")->isVisible());
    mask->setEditText("*.avi");
    EXPECT_EQ(getFiles->text(), "mpeg");
    EXPECT_TRUE(getFiles->isEnabled());
    EXPECT_FALSE(fromId3->isEnabled());
    EXPECT_TRUE(Action("pmPlay")->isVisible());  // video keeps the entries as they were
    mask->setEditText("*.MP3");
    EXPECT_TRUE(fromId3->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("bbtnChangeID3")->isEnabled());
    EXPECT_TRUE(getFiles->isEnabled());
    mask->setEditText("*.txt");
    EXPECT_FALSE(getFiles->isEnabled());
    EXPECT_FALSE(Action("mnGetMP3files")->isEnabled());
    EXPECT_FALSE(Action("pmPlay")->isVisible());
    EXPECT_EQ(form().statusText(), music + "/*.txt");
}

TEST_F(MainWindowTest, DeleteAsksAndDeletesOnlyTheSelectedFiles) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) tmp.Write(std::string("music/") + n, "x");
    Start();
    FileListBox* list = form().fileManager->filesListBox;
    ASSERT_EQ(list->count(), 3);
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &release);  // a release without its press in the list does nothing
    EXPECT_EQ(prompter.Count(PromptKind::YesNo), 0u);

    prompter.No();
    QApplication::sendEvent(list, &press);
    QApplication::sendEvent(list, &release);
    EXPECT_EQ(list->count(), 3);
    prompter.Yes();
    QApplication::sendEvent(list, &press);
    QApplication::sendEvent(list, &release);
    EXPECT_EQ(prompter.Texts(PromptKind::YesNo).back(), "Do You really want to delete this file(s)?");
    EXPECT_EQ(list->names(), std::vector<std::string>{"b.txt"});
    EXPECT_TRUE(std::filesystem::exists(music + "/b.txt"));
}

TEST_F(MainWindowTest, GoToDirectoryCancelledGoesToTheParent) {
    std::filesystem::create_directories(music + "/sub");
    Start();
    prompter.Text("sub");
    Action("pmGoToDir")->trigger();
    EXPECT_EQ(form().fileManager->dirListBox->directory(), music + "/sub");
    EXPECT_EQ(std::filesystem::current_path().string(), music + "/sub");
    prompter.Cancel();
    Action("pmGoToDir")->trigger();
    EXPECT_EQ(form().fileManager->dirListBox->directory(), music);
    prompter.Text("/tmp");  // an absolute path is not accepted
    Action("pmGoToDir")->trigger();
    EXPECT_EQ(form().fileManager->dirListBox->directory(), music);
}

TEST_F(MainWindowTest, CtrlF3InTheSearchBoxSwitchesTheKeyboardLayout) {
    Start();
    QLineEdit* find = Control<QLineEdit>("edFind");
    find->setText("ghbdtn");
    test::Key(find, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(find->text(), QString::fromUtf8("привет"));
}

}  // namespace
}  // namespace tandrel
