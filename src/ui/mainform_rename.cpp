#include "ui/mainform.h"

namespace tandrel {

void TMainForm::WireRenameCommands() {}

}  // namespace tandrel
