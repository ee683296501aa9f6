#pragma once
// The window's keys: F5 read, Ctrl+S save, Ctrl+O open, Ctrl+P print report, Ctrl+Shift+P
// print chart, each pressing its button (so a disabled button stays disabled for its key too),
// Ctrl+Alt+P for the report with its details asked first, and F1 for the About box. Every button's tooltip names its key.

#include <QKeySequence>

namespace leeb {

class MainWindow;
enum class CommandButton;

QKeySequence ShortcutOf(CommandButton button);
// Ctrl+Alt+P: the report with "报表信息" asked before its output options.
QKeySequence ReportWithDetailsKey();

void InstallShortcuts(MainWindow& form);

}  // namespace leeb
