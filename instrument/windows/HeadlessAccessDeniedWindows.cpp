#include "HeadlessAccessDenied.h"

namespace leeb {

// Windows refuses a HID device that another program holds open for itself.
const char* const HeadlessAccessDeniedMessage =
    "无权访问里氏硬度计：请关闭其他正在使用硬度计的程序，然后拔下并重新插入硬度计。"
    "(Access to the hardness tester is denied: close any other program that uses the tester, "
    "then unplug the tester and plug it in again.)";

}  // namespace leeb
