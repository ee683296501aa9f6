#include "WindowIcon.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitWindowIconResources() {
    Q_INIT_RESOURCE(windowicon);
}

namespace leeb {

QString WindowIconResource(int size) {
    return QStringLiteral(":/windowicon/leebdesk-%1.png").arg(size);
}

QIcon MakeWindowIcon() {
    InitWindowIconResources();
    QIcon icon;
    for (int size : WindowIconSizes) {
        icon.addFile(WindowIconResource(size), QSize(size, size));
    }
    return icon;
}

}  // namespace leeb
