#include "ReportFonts.h"

#include <QFont>

namespace leeb {

void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("黑体"), QStringLiteral("WenQuanYi Zen Hei"));
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
}

}  // namespace leeb
