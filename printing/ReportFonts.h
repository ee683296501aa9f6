#pragma once
// The report's two Chinese faces, "黑体" and "宋体", are not installed on Linux under those
// names; without a substitution Qt may fall back to a Latin face and draw boxes, or to a CJK
// face whose PDF text does not copy out correctly. Every painter page writer installs them;
// calling again does no harm.

namespace leeb {

// "黑体" -> "WenQuanYi Zen Hei" (fonts-wqy-zenhei), "宋体" -> "AR PL UMing CN"
// (fonts-arphic-uming).
void InstallFontSubstitutions();

}  // namespace leeb
