#include "ui/renamepreview.h"

#include "rename/renameplan.h"

namespace tandrel {

bool RunRenamePreview(QWidget* parent, int language, RenamePlan& plan) {
    static_cast<void>(parent);
    static_cast<void>(language);
    static_cast<void>(plan);
    return true;
}

}  // namespace tandrel
