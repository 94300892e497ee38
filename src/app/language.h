// The English and Russian texts of the main window and the language dialog, as
// data: rows of (control objectName, property, English, Russian) that the
// windows apply by name, and the copies that follow every language switch.
//
// Language index: 1 is Russian, every other value English. Switching to an
// index other than 0 or 1 changes no text (see AppliesTexts).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace tandrel {

enum class TextProperty { Caption, Hint, Item };

// Pseudo control names for the two rows that are not widgets.
inline constexpr const char* kApplicationTitleControl = "Application";  // the application title
inline constexpr const char* kMainWindowControl = "TMainForm";          // the main window's caption
inline constexpr const char* kLangWindowControl = "TLangForm";          // the language dialog's caption
inline constexpr const char* kEditWindowControl = "TEditForm";

inline constexpr int kEnglish = 0;
inline constexpr int kRussian = 1;

struct LanguageRow {
    std::string control;   // objectName
    TextProperty property;
    int index;             // item index for TextProperty::Item, -1 otherwise
    std::string english;   // code-page-1251 text; "&" accelerators as written
    std::string russian;
};

// The main window's rows. The Russian caption of each pop-up rename entry
// (pmRenameTo...) is the Russian caption of the main-menu entry of the same
// transform (mnRenameTo...).
const std::vector<LanguageRow>& MainFormTexts();
// The language dialog's rows.
const std::vector<LanguageRow>& LangFormTexts();

// A row written in the source with UTF-8 texts, for windows that keep their
// own tables.
struct Utf8TextRow {
    const char* control;
    TextProperty property;
    int index;
    const char* english;
    const char* russian;
};
std::vector<LanguageRow> BuildLanguageRows(std::initializer_list<Utf8TextRow> rows);

// The row's text in the language: Russian for 1, English otherwise.
const std::string& TextFor(const LanguageRow& row, int language);

// Whether switching to the language sets texts at all (only 0 and 1 do).
bool AppliesTexts(int language);

// The row of the control and property; index only counts for items.
const LanguageRow* FindRow(const std::vector<LanguageRow>& rows, const std::string& control,
                           TextProperty property, int index = -1);

// A text that, after every language switch (whatever the index), is copied
// from a main-window control to another control.
struct TextCopy {
    std::string targetWindow;   // kMainWindowControl or kEditWindowControl
    std::string targetControl;
    TextProperty targetProperty;
    std::string sourceControl;  // always on the main window
    TextProperty sourceProperty;
};
const std::vector<TextCopy>& TextCopies();

}  // namespace tandrel
