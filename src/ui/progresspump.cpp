#include "ui/progresspump.h"

#include <QCoreApplication>

namespace tandrel {

void ProgressPump::ProcessEvents() {
    // Under a host its gate decides which user input gets through; elsewhere all of it waits.
    QCoreApplication::processEvents(host_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tandrel
