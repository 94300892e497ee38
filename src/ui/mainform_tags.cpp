#include "ui/mainform.h"
#include "ui/tagpanelview.h"

namespace tandrel {

void TMainForm::WireTagPanel() { new TagPanelView(*this); }

}  // namespace tandrel
