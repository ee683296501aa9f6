// Linux refuses the hidraw node without the udev rule the package installs.
#include <QCoreApplication>

#include "TForm1.h"

namespace leeb {

const QString TForm1::AccessDeniedText = QString::fromUtf8(QT_TRANSLATE_NOOP(
    "TForm1", "无权访问硬度计: 请安装 udev 规则 70-leebdesk-tester.rules 后重新插入"));

}  // namespace leeb
