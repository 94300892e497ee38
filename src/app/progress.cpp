#include "app/progress.h"

#include "app/language.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

// The three Russian forms of a noun after a number: 1, 2-4, 5 and more (and 11-14).
struct RussianForms {
    const char* one;
    const char* few;
    const char* many;
};

std::string RussianNoun(std::int64_t n, const RussianForms& forms) {
    const std::int64_t tens = n % 100, units = n % 10;
    const char* word = forms.many;
    if (tens < 11 || tens > 14) {
        if (units == 1) word = forms.one;
        else if (units >= 2 && units <= 4) word = forms.few;
    }
    return Utf8ToCp1251(word).text;
}

std::string Counted(std::int64_t n, int language, const char* english, const char* englishPlural,
                    const RussianForms& russian) {
    const std::string number = GroupDigits(n, language);
    if (language == kRussian) return number + " " + RussianNoun(n, russian);
    return number + " " + (n == 1 ? english : englishPlural);
}

constexpr RussianForms kFiles{"файл", "файла", "файлов"};
constexpr RussianForms kDirectories{"каталог", "каталога", "каталогов"};

}  // namespace

std::string GroupDigits(std::int64_t n, int language) {
    const bool negative = n < 0;
    std::string digits = std::to_string(negative ? -n : n);
    const char separator = language == kRussian ? ' ' : ',';
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, separator);
    return negative ? "-" + digits : digits;
}

std::string FileCount(std::int64_t n, int language) { return Counted(n, language, "file", "files", kFiles); }

std::string DirectoryCount(std::int64_t n, int language) {
    return Counted(n, language, "directory", "directories", kDirectories);
}

std::string DoneOfText(std::int64_t done, std::int64_t total, int language) {
    if (language == kRussian) {
        // "из" asks for the genitive: "из 21 файла", "из 27 файлов".
        const std::int64_t tens = total % 100;
        const char* noun = total % 10 == 1 && tens != 11 ? "файла" : "файлов";
        return GroupDigits(done, language) + " " + Utf8ToCp1251("из").text + " " + GroupDigits(total, language) +
               " " + Utf8ToCp1251(noun).text;
    }
    return GroupDigits(done, language) + " of " + GroupDigits(total, language) + (total == 1 ? " file" : " files");
}

int ProgressPercent(const ProgressInfo& progress) {
    std::int64_t done = progress.files, all = progress.total;
    if (progress.bytes > 0) {
        done = progress.bytesDone;
        all = progress.bytes;
    }
    if (all <= 0) return -1;
    if (done >= all) return 100;
    return static_cast<int>(done * 100 / all);
}

std::string ProgressText(const ProgressInfo& progress, int language) {
    std::string text;
    if (progress.total > 0) {
        text = DoneOfText(progress.files, progress.total, language);
        if (progress.bytes > 0) {
            constexpr std::int64_t kMB = 1024 * 1024;
            text += ", " + GroupDigits(progress.bytesDone / kMB, language) +
                    (language == kRussian ? Utf8ToCp1251(" из ").text : std::string(" of ")) +
                    GroupDigits(progress.bytes / kMB, language) + (language == kRussian ? Utf8ToCp1251(" МБ").text
                                                                                        : std::string(" MB"));
        }
        text += " (" + std::to_string(ProgressPercent(progress)) + "%)";
    } else {
        if (progress.directories > 0) text = DirectoryCount(progress.directories, language) + ", ";
        text += FileCount(progress.files, language);
    }
    if (!progress.entry.empty()) text += ": " + progress.entry;
    return text;
}

}  // namespace tandrel
