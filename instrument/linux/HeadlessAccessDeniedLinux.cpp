#include "HeadlessAccessDenied.h"

namespace leeb {

// Linux refuses the hidraw node without the udev rule the package installs.
const char* const HeadlessAccessDeniedMessage =
    "无权访问里氏硬度计：请安装 udev 规则 70-leebdesk-tester.rules，然后拔下并重新插入硬度计。"
    "(Access to the hardness tester is denied: install the udev rule "
    "70-leebdesk-tester.rules, then unplug the tester and plug it in again.)";

}  // namespace leeb
