#include "AboutBox.h"

#include <QMessageBox>
#include <QtGlobal>

#include "ChartLibrary.h"
#include "LeebdeskVersion.h"

namespace leeb {

QString AboutText() {
    return QStringLiteral(
               "里氏硬度计  %1\n"
               "leebdesk %2\n\n"
               "读入、查看、保存和打印里氏硬度计的测量记录。\n"
               "(Upload, view, save and print the records of a Leeb hardness tester.)\n\n"
               "许可证 (licence): GNU GPL 3.0 或更高版本 (GPL-3.0-or-later)\n"
               "本程序不提供任何担保。(This program comes with ABSOLUTELY NO WARRANTY.)\n\n"
               "Qt %3 (运行于 running on %4)\n"
               "%5")
        .arg(QStringLiteral(LEEBDESK_CAPTION_VERSION), QStringLiteral(LEEBDESK_VERSION),
             QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()), ChartLibraryName());
}

void ShowAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("关于 (About)"));
    box.setIconPixmap(parent != nullptr ? parent->windowIcon().pixmap(64, 64) : QPixmap());
    box.setTextFormat(Qt::PlainText);
    box.setText(AboutText());
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace leeb
