#include "app/messages.h"

#include <array>

#include "app/language.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

struct Bilingual {
    std::string english;
    std::string russian;
    const std::string& In(int language) const { return language == kRussian ? russian : english; }
};

Bilingual Texts(const char* englishUtf8, const char* russianUtf8) {
    return {Utf8ToCp1251(englishUtf8).text, Utf8ToCp1251(russianUtf8).text};
}

// In the order of MessageId.
const std::array<Bilingual, kMessageCount>& MessageTable() {
    static const std::array<Bilingual, kMessageCount> table = {
        Texts("Edit File: ", "Файл: "),
        Texts("Do You really want to delete this file(s)?", "Вы действительно хотите удалить этот(и) файл(ы)?"),
        Texts("Can't delete file ", "Не могу удалить файл "),
        Texts("Please, choose file for searching!", "Пожалуйста, выберите файл для поиска!"),
        Texts("File ", "Файл "),
        Texts(" already exist.", " уже существует."),
        Texts("Do You want to replace this file?", "Вы хотите переписать этот файл?"),
        Texts("Searching is notorized.", "Поиск заверен."),
        Texts("File not Saved! Save File?", "Файл не сохранен! Сохранить файл?"),
        Texts("Can not read tag from the file: ", "Невозможно прочитать Тэг из файла: "),
        Texts("Can not save tag to the file: ", "Невозможно записать Тэг в файл: "),
        Texts("The file does not exist: ", "Файл отсутсвует: "),
        Texts("Found: ", "Найдено: "),
        Texts(" (sub-directories not searched: \"Recursive searching\" is off in the settings)",
              " (подкаталоги не просмотрены: «Рекурсивный поиск» выключен в настройках)"),
        Texts("Nothing was searched: no directory to search in.", "Поиск не выполнен: не задан каталог для поиска."),
        Texts("The settings cannot be read; the built-in settings are used: ",
              "Невозможно прочитать настройки; используются настройки по умолчанию: "),
        Texts("The settings were not saved: ", "Настройки не сохранены: "),
        Texts("The tag cannot hold these characters, they become \"?\": ",
              "Тэг не может хранить эти символы, они станут \"?\": "),
        Texts("Save the tag anyway?", "Всё равно записать тэг?"),
        Texts("Tag not saved: ", "Тэг не записан: "),
        Texts("Tag not saved: no file of a media file list is selected",
              "Тэг не записан: не выбран файл в списке медиафайлов"),
        Texts("Tag not saved: the tag panel does not show the tags of ",
              "Тэг не записан: панель тэгов показывает тэги не этого файла: "),
        Texts("An ID3v2.3 tag cannot hold these frames, they were left out: ",
              "Тэг ID3v2.3 не может хранить эти кадры, они опущены: "),
        Texts("Characters of these lines cannot be kept, saving writes them as \"\xEF\xBF\xBD\": lines ",
              "Символы этих строк не могут быть сохранены, они будут записаны как \"\xEF\xBF\xBD\": строки "),
        Texts("Save anyway?", "Всё равно сохранить?"),
        Texts(" (cancelled by the user)", " (прервано пользователем)"),
        Texts("Stopped on request; files renamed before the stop: ",
              "Остановлено по запросу; переименовано файлов до остановки: "),
        Texts("Rename cancelled: no file was renamed.", "Переименование отменено: ни один файл не переименован."),
    };
    return table;
}

struct QuestionTexts {
    Bilingual askTo, askToDo, renameAll, exit, unknown;
};

const QuestionTexts& Questions() {
    static const QuestionTexts q = {
        Texts("Do You really want to ", "Вы действительно хотите "),
        Texts("Do You really want to do ", "Вы действительно хотите сделать "),
        Texts("Do You really want to Rename All files?", "Вы действительно хотите переименовать все файлы?"),
        Texts("Do You really want to Exit from Program ", "Вы действительно хотите выйти из программы "),
        Texts("Unknown Error", "Неизвестная Ошибка"),
    };
    return q;
}

}  // namespace

const std::string& Message(int language, MessageId id) {
    static const std::string none;
    const auto i = static_cast<std::size_t>(id);
    return i < kMessageCount ? MessageTable()[i].In(language) : none;
}

std::string ComposeMessage(int language, int code, const std::string& text) {
    const QuestionTexts& q = Questions();
    switch (code) {
        case kAskTo: return q.askTo.In(language) + text + "?";
        case kAskToDo: return q.askToDo.In(language) + text + "?";
        case kAskRenameAll: return q.renameAll.In(language);
        case kAskExit: return q.exit.In(language) + text + "?";
        case kTextAsIs: return text;
        default: return q.unknown.In(language);
    }
}

}  // namespace tandrel
