#include <QByteArray>
#include <QtGlobal>

#include "HeadlessPlatform.h"

namespace leeb::cli {

// X11 and Wayland need a display; the offscreen platform reads fonts through fontconfig.
void ChooseHeadlessPlatform() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
}

}  // namespace leeb::cli
