#include "ui/progresspump.h"

#include <QCoreApplication>

namespace tandrel {

void ProgressPump::ProcessPaintEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace tandrel
