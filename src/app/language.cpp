#include "app/language.h"

#include <cstddef>

#include "text/cp1251.h"

namespace tandrel {
namespace {

using enum TextProperty;

// One row as written in the source: UTF-8 texts. A row without a Russian text
// takes the Russian text of the row named by russianFrom (same property).
struct SourceRow {
    const char* control;
    TextProperty property;
    int index;
    const char* english;
    const char* russian;
    const char* russianFrom = nullptr;
};

const SourceRow kMainFormSource[] = {
    {kApplicationTitleControl, Caption, -1, "Tandrel", "Tandrel"},
    {kMainWindowControl, Caption, -1, "Tandrel", "Tandrel"},
    {"gbTextFinder", Caption, -1, " Find text in file(s) ", " Поиск текста в файле(ах) "},
    {"cbScanDir", Caption, -1, "Scan Directorys", "Все папки"},
    {"cbOverSearch", Caption, -1, "Over Search", "Супер-Поиск"},
    {"cbFullString", Caption, -1, "Full String", "Вся строка"},
    {"rgFindMode", Caption, -1, " Find Mode ", " Режим поиска "},
    {"rgFindMode", Item, 0, "by name file", "по имени файла"},
    {"rgFindMode", Item, 1, "inside file", "внутри файла"},
    {"cbUseHomeDirMask", Caption, -1, "Use Home Directory & Mask", "Использовать домашний каталог и маску"},
    {"cbUseHomeDirMask", Hint, -1, "Use Home Directory & Mask", "Использовать домашний каталог и маску"},
    {"cbFTPlocal", Caption, -1, "local-file (FTP)", "local-файл (FTP)"},
    {"cbFTPlocal", Hint, -1, "Find from local-file...", "Поиск в local-файле..."},
    {"cbUseMask", Caption, -1, "Use Mask:", "Исп. Маску:"},
    {"cbFindOnDrives", Caption, -1, "Find on specified Drives:", "Искать на дисках:"},
    {"lFind", Caption, -1, "String for Find:", "Строка поиска:"},
    {"bbtnFind", Caption, -1, "&Find", "&Найти"},
    {"btnCancelOperation", Caption, -1, "Cancel", "Отмена"},
    {"btnCancelOperation", Hint, -1, "Stop the running operation (Esc)", "Прервать выполняемую операцию (Esc)"},
    {"bbtnFindDir", Caption, -1, "&Directory", "&Каталог"},
    {"gbFileManager", Caption, -1, " File Manager ", " Менеджер файлов "},
    {"lMask", Caption, -1, "Mask:", "Маска:"},
    {"bbtnSelAll", Caption, -1, "Select &All", "Выделить &все"},
    {"bbtnFromID3Rename", Hint, -1, "Rename Selected File(s) from ID3 tag(s)", "Переименовать выбранные файлы из ID3 Тэгов"},
    {"gbEditBox", Caption, -1, "Edit File", "Файл"},
    {"rgEditMode", Item, 0, "Editor", "Редактор"},
    {"rgEditMode", Item, 1, "Check List", "Лист выбора"},
    {"gbAddToFileMod", Caption, -1, " Adding Mode ", " Режим добавления "},
    {"cbAddFileName", Caption, -1, "File Name", "Имя файла"},
    {"cbAddFilePath", Caption, -1, "File Path", "Путь к файлу"},
    {"bbtnAddToFile", Caption, -1, "Add", "Добавить"},
    {"bbtnShowWindow", Caption, -1, "Window", "Окно"},
    {"bbtnCheckAll", Hint, -1, "Check All", "Пометить все"},
    {"bbtnUnCheckAll", Hint, -1, "UnCheck All", "Снять пометки"},
    {"bbtnFindDir", Hint, -1, "Find Directory", "Найти каталог"},
    {"bbtnFindInWindow", Hint, -1, "Find in window", "Найти в окне"},
    {"sbtnFindTextToTranslit", Hint, -1, "Conver to translit", "Перевести в транслит"},
    {"sbtnFindTextTransKeyCod", Hint, -1, "Translation Keyboard Layout", "Сменить раскладку клавиатуры"},
    {"gbID3tags", Caption, -1, " ID3 tags ", " ID3 Тэги "},
    {"cbID3v1Tag", Caption, -1, " ID3v&1 Tag ", " ID3v&1 Тэг "},
    {"cbID3v2Tag", Caption, -1, " ID3v&2 Tag ", " ID3v&2 Тэг "},
    {"lID3v1TrackNum", Caption, -1, "Track #", "Дорожка №"},
    {"lID3v1Title", Caption, -1, "Title", "Название"},
    {"lID3v1Artist", Caption, -1, "Artist", "Артист"},
    {"lID3v1Album", Caption, -1, "Album", "Альбом"},
    {"lID3v1Year", Caption, -1, "Year", "Год"},
    {"lID3v1Genre", Caption, -1, "Genre", "Жанр"},
    {"lID3v1Comment", Caption, -1, "Comment", "Коммет."},
    {"bbtnFromFileNameToID3", Caption, -1, "FileName", "Имя Файла"},
    {"bbtnFromFileNameToID3", Hint, -1, "Selected FileNames(s) to ID3 tags", "Выделенные имена файлов в ID3 тэги"},
    {"bbtnChangeID3", Hint, -1, "Change Selected ID3 tags", "Изменить выбранные ID3 Тэги"},
    {"bbtnSaveID3v1", Caption, -1, "Update ID3v1", "Записать ID3v1"},
    {"bbtnSaveID3v2", Caption, -1, "Update ID3v2", "Записать ID3v2"},
    {"mnFile", Caption, -1, "&File", "&Файл"},
    {"mnOpen", Caption, -1, "&Open...", "&Открыть..."},
    {"mnOpenWin", Caption, -1, "Open in &Window......", "Открыть &в окне..."},
    {"mnSave", Caption, -1, "&Save", "&Сохранить"},
    {"mnSaveAs", Caption, -1, "Save &As...", "Сохранить &как..."},
    {"mnExit", Caption, -1, "E&xit", "Вы&ход"},
    {"mnEdit", Caption, -1, "&Edit", "&Редактирование"},
    {"mnSortLines", Caption, -1, "Sort Lines", "Сортировать линии"},
    {"mnGetM3Uinf", Caption, -1, "Get info-names from M3U", "Выбрать info-названия из M3U"},
    {"mnGetM3Unames", Caption, -1, "Get mp3-names from M3U", "Выбрать mp3-названия из M3U"},
    {"mnFindM3Unames", Caption, -1, "Find mp3-names from M3U", "Найти mp3-названия из M3U"},
    {"mnGetMP3files", Caption, -1, "Get mp3(avi,mpg)-names from Directory", "Выбрать mp3(avi,mpg)-названия из каталога"},
    {"mnGetM3UnamesAndSaveToFile", Caption, -1, "Get mp3-names from M3U && Save To File", "Выбрать mp3-названия из M3U и записать в файл"},
    {"mnPasteFromClipboard", Caption, -1, "Paste from &Clipboard", "Вставить из &буфера"},
    {"mnSearch", Caption, -1, "Search", "Найти"},
    {"mnFind", Caption, -1, "&Find...", "&Поиск..."},
    {"mnFindDir", Caption, -1, "Find Directory", "Поиск Каталога"},
    {"mnFindlocal", Caption, -1, "Find from local-file...", "Поиск в local-файле..."},
    {"mnSynonyms", Caption, -1, "Synonyms...", "Синонимы..."},
    {"mnCreate", Caption, -1, "&Create", "&Создать"},
    {"mnProcessDirs", Caption, -1, "Processing Directories - Make Descriptions...", "Обработка Каталогов - Создание Описаний..."},
    {"mnProcessRenFiles", Caption, -1, "Processing Rename Files to Translit && Correct Description...", "Переименование файлов в транслит и корректировка описаний..."},
    {"mnMakeTree", Caption, -1, "Make Tree of Directory...", "Создать дерево каталога..."},
    {"mnRename", Caption, -1, "&Rename", "&Переименование"},
    {"mnRenameToTranslit", Caption, -1, "Rename RU-FileNames to &Translit All", "Переименовать русские названия файлов в &Транслит"},
    {"mnRenameToLowerCase", Caption, -1, "Rename FileNames to &LowerCase All", "Переименовать названия файлов в &нижний регистр"},
    {"mnRenameToUpperCase", Caption, -1, "Rename FileNames to &UPPERCase All", "Переименовать названия файлов в &ВЕРХНИЙ регистр"},
    {"mnRenameToUpLoCase", Caption, -1, "Rename FileNames - &Begin from Up Letter All", "Переименовать названия файлов - Все С Заглавной Буквы"},
    {"mnRenameToUpFirstLettersOfArtistAndTitleLoCase", Caption, -1, "Rename FileNames - begin from upper letters of Artist and Title", "Переименовать названия файлов - Исполнитель и Композиция с заглавной буквы"},
    {"mnRenameToUpFirstLetterLoCase", Caption, -1, "Rename FileNames - Begin from Upper Letter of string", "Переименовать названия файлов - Строка с заглавной буквы"},
    {"mnAddCountStrToFileNames", Caption, -1, "Adding Numbering && String To FileName(s)...", "Добавить нумерацию и строку к имени файла(ов)..."},
    {"mnDelFrstSymFromFileNames", Caption, -1, "Deleting First Symbols From FileName(s)...", "Удаление первых символов из имени файла(ов)..."},
    {"mnSortDateAddCountToFileNames", Caption, -1, "Sort Files on Dates && Adding Numbering To FileName(s)...", "Сортировать файлы по дате и добавить нумерацию к имени файла(ов)..."},
    {"mnRenExtToLowCase", Caption, -1, "Rename Extensions To Lowercase", "Переименовать расширения в нижний регистр"},
    {"mnExtChange", Caption, -1, "Change Extensions...", "Смена расширений..."},
    {"mnSubStrChange", Caption, -1, "Change Substring...", "Замена подстроки..."},
    {"mnRenameFromIniFileRen", Caption, -1, "Rename All From Ini-File [renamed]", "Переименовать Всё из ini-файла(ов) [переименованные]"},
    {"mnRenameFromIniFileDel", Caption, -1, "Rename All From Ini-File [deleted]", "Переименовать Всё из ini-файла(ов) [удаленные]"},
    {"mnRepairNames", Caption, -1, "Repair Legacy File Names...", "Исправить имена файлов в старых кодировках..."},
    {"mnRepairNamesBack", Caption, -1, "Rename All From Ini-File [names]", "Переименовать Всё из ini-файла(ов) [имена]"},
    {"mnService", Caption, -1, "&Service", "&Сервис"},
    {"mnSettings", Caption, -1, "Settings...", "&Настройки..."},
    {"mnLang", Caption, -1, "&Language...", "&Язык..."},
    {"mnHomeDir", Caption, -1, "Home &Directory...", "Домашний &Каталог..."},
    {"mnFromID3RenameOptions", Caption, -1, "From ID3 Rename Options...", "Опции переименования с ID3 Тэгов..."},
    {"mnRepairTags", Caption, -1, "Repair ID3v2 Tag Text...", "Исправить текст тэгов ID3v2..."},
    {"mnSaveSettings", Caption, -1, "Save Settings", "Записать настройки"},
    {"mnRestoreSettings", Caption, -1, "Restore Settings", "Восстановить настройки"},
    {"mnAbout", Caption, -1, "About...", "О программе..."},
    {"pmGoToDir", Caption, -1, "Go To Directory...", "Перейти в каталог..."},
    {"pmPlay", Caption, -1, "Play", "Прослушать"},
    {"pmWordsSearch", Caption, -1, "Words Search", "Поиск слов"},
    {"pmCopyWordsToFind", Caption, -1, "Copy words to String for Find", "Скопировать слова в строку поиска"},
    {"pmCopyFile", Caption, -1, "Copy File(s)...", "Копировать файл(ы)..."},
    {"pmRename", Caption, -1, "Rename", "Переименовать"},
    {"pmRenameFiles", Caption, -1, "Rename File(s)", "Переименовать Файл(ы)"},
    {"pmRenameToTranslit", Caption, -1, "Rename RU-FileName(s) to &Translit", nullptr, "mnRenameToTranslit"},
    {"pmRenameToLowerCase", Caption, -1, "Rename FileName(s) to &LowerCase", nullptr, "mnRenameToLowerCase"},
    {"pmRenameToUpperCase", Caption, -1, "Rename FileName(s) to &UPPERCase", nullptr, "mnRenameToUpperCase"},
    {"pmRenameToUpLoCase", Caption, -1, "Rename FileName(s) - &Begin from Upper Letter", nullptr, "mnRenameToUpLoCase"},
    {"pmRenameToUpFirstLettersOfArtistAndTitleLoCase", Caption, -1, "Rename FileName(s) - begin from upper letters of Artist and Title", nullptr, "mnRenameToUpFirstLettersOfArtistAndTitleLoCase"},
    {"pmRenameToUpFirstLetterLoCase", Caption, -1, "Rename FileName(s) - Begin from Upper Letter of string", nullptr, "mnRenameToUpFirstLetterLoCase"},
    {"pmShowID3tags", Caption, -1, "Show ID3 Tags", "Показать ID3-Тэги"},
    {"pmPlayList", Caption, -1, "Play List", "Проиграть список"},
    {"pmAddPlayList", Caption, -1, "Add to List in WinAmp", "Добавить в список в WinAmp"},
    {"pmToClipBoard", Caption, -1, "Copy to Clipboard", "Копировать в буфер"},
    {"pmCheckedToClipBoard", Caption, -1, "Copy Checked to Clipboard", "Копировать выбранное в буфер"},
    {"pmCopyFiles", Caption, -1, "Copy Files...", "Копировать файлы..."},
    {"pmDownloadFile", Caption, -1, "Download File (through iexprorer)", "Закачать файл (через iexplorer)"},
};

const SourceRow kLangFormSource[] = {
    {kLangWindowControl, Caption, -1, "Language", "Язык"},
    {"rgLang", Item, 0, "English", "Английский"},
    {"rgLang", Item, 1, "Russian", "Русский"},
    {"bbtnCancel", Caption, -1, "Cancel", "Отмена"},
};

std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8).text; }

template <std::size_t N>
std::vector<LanguageRow> Build(const SourceRow (&source)[N]) {
    std::vector<LanguageRow> rows;
    rows.reserve(N);
    for (const SourceRow& s : source) {
        rows.push_back({s.control, s.property, s.index, Cp(s.english), s.russian ? Cp(s.russian) : std::string()});
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (!source[i].russianFrom) continue;
        const LanguageRow* from = FindRow(rows, source[i].russianFrom, source[i].property, source[i].index);
        if (from) rows[i].russian = from->russian;
    }
    return rows;
}

}  // namespace

const std::vector<LanguageRow>& MainFormTexts() {
    static const std::vector<LanguageRow> rows = Build(kMainFormSource);
    return rows;
}

const std::vector<LanguageRow>& LangFormTexts() {
    static const std::vector<LanguageRow> rows = Build(kLangFormSource);
    return rows;
}

std::vector<LanguageRow> BuildLanguageRows(std::initializer_list<Utf8TextRow> rows) {
    std::vector<LanguageRow> out;
    out.reserve(rows.size());
    for (const Utf8TextRow& r : rows) out.push_back({r.control, r.property, r.index, Cp(r.english), Cp(r.russian)});
    return out;
}

const std::string& TextFor(const LanguageRow& row, int language) {
    return language == kRussian ? row.russian : row.english;
}

bool AppliesTexts(int language) { return language == kEnglish || language == kRussian; }

const LanguageRow* FindRow(const std::vector<LanguageRow>& rows, const std::string& control, TextProperty property,
                           int index) {
    for (const LanguageRow& row : rows) {
        if (row.control == control && row.property == property && (property != Item || row.index == index)) {
            return &row;
        }
    }
    return nullptr;
}

const std::vector<TextCopy>& TextCopies() {
    static const std::vector<TextCopy> copies = [] {
        std::vector<TextCopy> c = {
            {kMainWindowControl, "bbtnPlayList", Hint, "pmPlayList", Caption},
            {kMainWindowControl, "bbtnAddPlayList", Hint, "pmAddPlayList", Caption},
        };
        for (const char* field : {"TrackNum", "Title", "Artist", "Album", "Year", "Genre", "Comment"}) {
            c.push_back({kMainWindowControl, std::string("lID3v2") + field, Caption, std::string("lID3v1") + field,
                         Caption});
        }
        c.push_back({kEditWindowControl, "mnSortLines", Caption, "mnSortLines", Caption});
        return c;
    }();
    return copies;
}

}  // namespace tandrel
