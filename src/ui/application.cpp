#include "ui/application.h"

#include "platform/registry.h"

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
    return windows;
}

}  // namespace tandrel
