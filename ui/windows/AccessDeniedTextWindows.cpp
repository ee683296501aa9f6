// Windows refuses a HID device that another program holds open for itself.
#include <QCoreApplication>

#include "MainWindow.h"

namespace leeb {

const QString MainWindow::AccessDeniedText = QString::fromUtf8(
    QT_TRANSLATE_NOOP("MainWindow", "无权访问硬度计: 请关闭其他正在使用硬度计的程序后重新插入"));

}  // namespace leeb
