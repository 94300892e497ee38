#include "ui/appicon.h"

#include <QDir>

namespace tandrel {

QIcon ApplicationIcon() {
    QIcon icon;
    // One folder per size, as in the hicolor theme: ":/icons/48x48/apps/tandrel.png".
    const QDir sizes(QStringLiteral(":/icons"));
    for (const QString& size : sizes.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        icon.addFile(sizes.filePath(size + QStringLiteral("/apps/tandrel.png")));
    return icon;
}

}  // namespace tandrel
