#pragma once
// The upload's options, offered by a menu on the read button (right click, or the menu key
// while it has the focus), so the button bar stays as designed: "校验读取" reads every record
// twice and compares, and is remembered between runs.

namespace leeb {

class DesktopSettings;
class MainWindow;

// `settings` must outlive the window.
void InstallUploadOptions(MainWindow& form, DesktopSettings& settings);

}  // namespace leeb
