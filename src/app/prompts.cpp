#include "app/prompts.h"

#include "app/language.h"
#include "app/messages.h"
#include "text/cp1251.h"

namespace tandrel {

bool ConfirmDlg(Prompter& prompter, int language, int code, const std::string& text) {
    return prompter.AskYesNo(ComposeMessage(language, code, text));
}

std::string InputDlg(Prompter& prompter, int language, int code, const std::string& defaultText) {
    std::string caption, prompt;
    if (code == kInputFind) {
        static const std::string ruCaption = Utf8ToCp1251("Параметры поиска").text;
        static const std::string ruPrompt = Utf8ToCp1251("Введите строку поиска:").text;
        const bool russian = language == kRussian;
        caption = russian ? ruCaption : "Finding Parameters";
        prompt = russian ? ruPrompt : "Input string of finding:";
    } else if (code == kInputAny) {
        caption = "Parameters";
        prompt = "Input any:";
    } else {
        return "";
    }
    return prompter.InputBox(caption, prompt, defaultText).value_or(defaultText);
}

void SetWaitCursor(Prompter& prompter, bool busy) { prompter.SetWaitCursor(busy); }

}  // namespace tandrel
