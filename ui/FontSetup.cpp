#include "FontSetup.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace leeb {

namespace {
const QString WindowFontFamily = QStringLiteral("MS Sans Serif");
}

void InstallWindowFontSubstitution() {
    if (QFontDatabase::hasFamily(WindowFontFamily))
        return;
    const QString fallback = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (!fallback.isEmpty() && fallback != WindowFontFamily) {
        QFont::insertSubstitution(WindowFontFamily, fallback);
    }
}

QFont WindowFont() {
    QFont font(WindowFontFamily);
    font.setPixelSize(11);
    return font;
}

}  // namespace leeb
