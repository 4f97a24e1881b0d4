#include "dist/AppIcon.h"

#include <QString>

// Outside any namespace: the resource's own initialiser is a global function.
static void InitIconResources() {
    // The icon resources are compiled into a static library; naming their initialiser here keeps the
    // linker from leaving them out of the program.
    Q_INIT_RESOURCE(vesmarin);
}

namespace vesmarin {

QIcon ApplicationIcon() {
    InitIconResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/vesmarin/icons/vesmarin-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace vesmarin
