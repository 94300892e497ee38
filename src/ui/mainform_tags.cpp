#include "ui/mainform.h"

namespace tandrel {

void TMainForm::WireTagPanel() {}

}  // namespace tandrel
