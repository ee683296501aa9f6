// Linux refuses the hidraw node without the udev rule the package installs.
#include <QCoreApplication>

#include "MainWindow.h"

namespace leeb {

const QString MainWindow::AccessDeniedText = QString::fromUtf8(QT_TRANSLATE_NOOP(
    "MainWindow", "无权访问硬度计: 请安装 udev 规则 70-leebdesk-tester.rules 后重新插入"));

}  // namespace leeb
