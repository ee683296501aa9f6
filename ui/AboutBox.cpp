#include "AboutBox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QtGlobal>

#include "ChartLibrary.h"
#include "LeebdeskVersion.h"
#include "MainWindow.h"

namespace leeb {

QString AboutText() {
    // The program's name as the window's title shows it; the version lines and library names
    // stay as they are in every language.
    return QCoreApplication::translate("AboutBox",
                                       "%1\n"
                                       "leebdesk %2\n\n"
                                       "读入、查看、保存和打印里氏硬度计的测量记录。\n\n"
                                       "许可证: GNU GPL 3.0 或更高版本 (GPL-3.0-or-later)\n"
                                       "本程序不提供任何担保。\n\n"
                                       "Qt %3 (运行于 Qt %4)\n"
                                       "%5")
        .arg(MainWindow::ShownCaption(), QStringLiteral(LEEBDESK_VERSION),
             QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()), ChartLibraryName());
}

void ShowAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(QCoreApplication::translate("AboutBox", "关于"));
    box.setIconPixmap(parent != nullptr ? parent->windowIcon().pixmap(64, 64) : QPixmap());
    box.setTextFormat(Qt::PlainText);
    box.setText(AboutText());
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace leeb
