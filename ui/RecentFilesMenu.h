#pragma once
// The recent record files, offered by a menu on the open button (right click, or the menu
// key while it has the focus), so the button bar stays as designed. Choosing one opens it
// through the window's open command; a file that is gone is dropped from the list after the
// open command has said so.

#include <QMenu>

namespace leeb {

class DesktopSettings;
class MainWindow;

// Fills `menu` with the recent files of `settings`, most recent first.
void FillRecentFilesMenu(QMenu& menu, MainWindow& form, DesktopSettings& settings);

// Adds every file the window opens or saves to the recent files and offers them on the open
// button. `settings` must outlive the window.
void InstallRecentFiles(MainWindow& form, DesktopSettings& settings);

}  // namespace leeb
