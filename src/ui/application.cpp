#include "ui/application.h"

#include "app/messages.h"
#include "platform/registry.h"
#include "text/cp1251.h"

namespace tandrel {

std::unique_ptr<AppWindows> CreateAppWindows(Prompter& dialogs, RegistryStore& registry) {
    auto windows = std::make_unique<AppWindows>();
    windows->mainForm = std::make_unique<TMainForm>(dialogs, registry);
    TMainForm* main = windows->mainForm.get();
    windows->editForm = std::make_unique<TEditForm>(TEditForm::Links{
        main->prompter(), registry, [main] { return main->language(); }, [main] { return main->outputText(); }});
    windows->langForm = std::make_unique<TLangForm>([main](int language) { main->ApplyLanguage(language); }, main);
    main->setEditForm(windows->editForm.get());
    main->setLangForm(windows->langForm.get());
    // The language dialog's creation applies the stored language.
    const int loaded = main->settings().loadedLanguage;
    if (loaded != 0) {
        main->ApplyLanguage(loaded);
    } else if (QRadioButton* b = windows->langForm->rgLang->button(0)) {
        b->setChecked(true);
    }
    // The main window loaded the settings; an unreadable file leaves the built-in state.
    if (const FileResult& loaded = registry.LastLoad(); !loaded)
        dialogs.ShowMessage(Message(main->language(), MessageId::SettingsUnreadable) + Utf8ToCp1251(loaded.error).text);
    return windows;
}

void CloseAppWindows(std::unique_ptr<AppWindows>& windows, Prompter& dialogs) {
    if (!windows) return;
    const int language = windows->mainForm->language();
    FileResult saved;
    windows->mainForm->ReportExitSaveTo(&saved);
    windows.reset();
    if (!saved) dialogs.ShowMessage(Message(language, MessageId::SettingsNotSaved) + Utf8ToCp1251(saved.error).text);
}

}  // namespace tandrel
