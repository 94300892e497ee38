#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <tuple>

#include "support/cp1251_text.h"
#include "app/language.h"
#include "app/messages.h"
#include "app/prompts.h"
#include "support/scripted_prompter.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

using namespace test;


std::string Utf8Text(const std::vector<LanguageRow>& rows, const char* control, TextProperty property, int index,
                     int language) {
    const LanguageRow* row = FindRow(rows, control, property, index);
    if (!row) return "<no row>";
    return Cp1251ToUtf8(TextFor(*row, language));
}

TEST(LanguageTables, EveryRowHasBothTextsAndEveryCharacterFitsTheCodePage) {
    for (const auto* rows : {&MainFormTexts(), &LangFormTexts()}) {
        std::set<std::tuple<std::string, TextProperty, int>> seen;
        for (const LanguageRow& row : *rows) {
            EXPECT_FALSE(row.english.empty()) << row.control;
            EXPECT_FALSE(row.russian.empty()) << row.control;
            EXPECT_EQ(row.english.find(kUnmappableChar), std::string::npos) << row.control;
            EXPECT_EQ(row.russian.find(kUnmappableChar), std::string::npos) << row.control;
            EXPECT_EQ(row.index >= 0, row.property == TextProperty::Item) << row.control;
            EXPECT_TRUE(seen.insert({row.control, row.property, row.index}).second) << "duplicate " << row.control;
        }
    }
}

TEST(LanguageTables, PopupRenameEntriesTakeTheRussianCaptionOfTheirMenuEntry) {
    const char* transforms[] = {"ToTranslit", "ToLowerCase", "ToUpperCase", "ToUpLoCase",
                                "ToUpFirstLettersOfArtistAndTitleLoCase", "ToUpFirstLetterLoCase"};
    for (const std::string t : transforms) {
        const LanguageRow* popup = FindRow(MainFormTexts(), "pmRename" + t, TextProperty::Caption);
        const LanguageRow* menu = FindRow(MainFormTexts(), "mnRename" + t, TextProperty::Caption);
        ASSERT_TRUE(popup && menu) << t;
        EXPECT_EQ(popup->russian, menu->russian) << t;
        EXPECT_NE(popup->english, menu->english) << t;
    }
}

TEST(LanguageTables, TextsAreKeptAsWrittenInEachLanguage) {
    const auto& main = MainFormTexts();
    const auto& lang = LangFormTexts();
    struct Case {
        const std::vector<LanguageRow>& rows;
        const char* control;
        TextProperty property;
        int index;
        int language;
        const char* utf8;
    } cases[] = {
        {main, "mnOpenWin", TextProperty::Caption, -1, 0, "Open in &Window......"},
        {main, "mnOpenWin", TextProperty::Caption, -1, 1, "Открыть &в окне..."},
        {main, "mnGetM3UnamesAndSaveToFile", TextProperty::Caption, -1, 0, "Get mp3-names from M3U && Save To File"},
        {main, "rgFindMode", TextProperty::Item, 1, 1, "внутри файла"},
        {main, "lID3v1TrackNum", TextProperty::Caption, -1, 1, "Дорожка №"},
        {main, kApplicationTitleControl, TextProperty::Caption, -1, 1, "Tandrel"},
        {main, "mnExit", TextProperty::Caption, -1, 2, "E&xit"},  // any index but 1 reads English
        {lang, kLangWindowControl, TextProperty::Caption, -1, 1, "Язык"},
        {lang, "rgLang", TextProperty::Item, 1, 0, "Russian"},
        {lang, "rgLang", TextProperty::Item, 1, 1, "Русский"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8Text(c.rows, c.control, c.property, c.index, c.language), c.utf8) << c.control << " " << c.language;
    }
    EXPECT_TRUE(AppliesTexts(0));
    EXPECT_TRUE(AppliesTexts(1));
    EXPECT_FALSE(AppliesTexts(2));
}

TEST(LanguageTables, EveryCopyReadsATextTheTableSets) {
    std::set<std::string> targets;
    for (const TextCopy& copy : TextCopies()) {
        EXPECT_NE(FindRow(MainFormTexts(), copy.sourceControl, copy.sourceProperty), nullptr) << copy.sourceControl;
        targets.insert(copy.targetWindow + "." + copy.targetControl);
    }
    for (const char* t : {"TMainForm.bbtnPlayList", "TMainForm.bbtnAddPlayList", "TMainForm.lID3v2TrackNum",
                          "TMainForm.lID3v2Comment", "TEditForm.mnSortLines"}) {
        EXPECT_TRUE(targets.count(t)) << t;
    }
    EXPECT_EQ(targets.size(), 10u);
}

TEST(Messages, TableInBothLanguages) {
    for (int i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<MessageId>(i);
        EXPECT_FALSE(Message(0, id).empty()) << i;
        EXPECT_NE(Message(1, id), Message(0, id)) << i;
        EXPECT_EQ(Message(2, id), Message(0, id)) << i;
    }
    // The table's order is the enumeration's.
    EXPECT_EQ(Message(0, MessageId::EditFilePrefix), "Edit File: ");
    EXPECT_EQ(Message(1, MessageId::FileMissing), Cp("Файл отсутсвует: "));
}

TEST(Messages, ComposeMessageByCode) {
    const std::string text = "Rename &All";
    struct Case {
        int code;
        const char* english;
        const char* russian;
    } cases[] = {
        {1, "Do You really want to Rename &All?", "Вы действительно хотите Rename &All?"},
        {2, "Do You really want to do Rename &All?", "Вы действительно хотите сделать Rename &All?"},
        {3, "Do You really want to Rename All files?", "Вы действительно хотите переименовать все файлы?"},
        {4, "Do You really want to Exit from Program Rename &All?", "Вы действительно хотите выйти из программы Rename &All?"},
        {10, "Rename &All", "Rename &All"},
        {0, "Unknown Error", "Неизвестная Ошибка"},
        {9, "Unknown Error", "Неизвестная Ошибка"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeMessage(0, c.code, text), c.english) << c.code;
        EXPECT_EQ(ComposeMessage(1, c.code, text), Cp(c.russian)) << c.code;
        EXPECT_EQ(ComposeMessage(7, c.code, text), c.english) << c.code;
    }
    EXPECT_EQ(ComposeMessage(0, 4, ""), "Do You really want to Exit from Program ?");
    // Russian text is passed through byte for byte.
    EXPECT_EQ(ComposeMessage(1, 10, Cp("Ёжик")), Cp("Ёжик"));
}

TEST(Prompts, ConfirmDlgAsksTheComposedQuestion) {
    ScriptedPrompter p;
    p.Yes().No();
    EXPECT_TRUE(ConfirmDlg(p, 0, 1, "Rename FileNames to &LowerCase All"));
    EXPECT_FALSE(ConfirmDlg(p, 1, 4, ""));
    EXPECT_EQ(p.Texts(PromptKind::YesNo),
              (std::vector<std::string>{"Do You really want to Rename FileNames to &LowerCase All?",
                                        Cp("Вы действительно хотите выйти из программы ?")}));
}

TEST(Prompts, InputDlgByCode) {
    ScriptedPrompter p;
    p.Text("beatles").Cancel().Text("");
    EXPECT_EQ(InputDlg(p, 1, 9, "abba"), "beatles");
    EXPECT_EQ(InputDlg(p, 0, 9, "abba"), "abba");  // cancelled: the default
    EXPECT_EQ(InputDlg(p, 1, 10, "x"), "");        // an emptied box is not a cancel
    ASSERT_EQ(p.calls().size(), 3u);
    EXPECT_EQ(p.calls()[0].args,
              (std::vector<std::string>{Cp("Параметры поиска"), Cp("Введите строку поиска:"), "abba"}));
    EXPECT_EQ(p.calls()[1].args, (std::vector<std::string>{"Finding Parameters", "Input string of finding:", "abba"}));
    EXPECT_EQ(p.calls()[2].args, (std::vector<std::string>{"Parameters", "Input any:", "x"}));

    ScriptedPrompter silent;
    for (int code : {0, 1, 8, 11}) EXPECT_EQ(InputDlg(silent, 0, code, "abba"), "") << code;
    EXPECT_TRUE(silent.calls().empty());
}

TEST(Prompts, WaitCursorReturnsToNormalWhenTheOperationFails) {
    ScriptedPrompter p;
    EXPECT_THROW(
        {
            WaitCursor busy(p);
            EXPECT_TRUE(p.busy());
            throw std::runtime_error("walk failed");
        },
        std::runtime_error);
    EXPECT_FALSE(p.busy());
    EXPECT_EQ(p.Texts(PromptKind::WaitCursor), (std::vector<std::string>{"busy", "idle"}));
}

}  // namespace
}  // namespace tandrel
