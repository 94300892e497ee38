#include "ui/mainform.h"
#include "ui/searchcommands.h"

namespace tandrel {

void TMainForm::WireSearchCommands() { new TSearchCommands(*this); }

void TMainForm::StartSearchControls() {
    if (auto* commands = findChild<TSearchCommands*>()) commands->StartControls();
}

}  // namespace tandrel
