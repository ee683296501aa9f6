#pragma once
// The window's keys: F5 read, Ctrl+S save, Ctrl+O open, Ctrl+P print report, Ctrl+Shift+P
// print chart, each pressing its button (so a disabled button stays disabled for its key too),
// and F1 for the About box. Every button's tooltip names its key.

#include <QKeySequence>

namespace leeb {

class MainWindow;
enum class CommandButton;

QKeySequence ShortcutOf(CommandButton button);

void InstallShortcuts(MainWindow& form);

}  // namespace leeb
