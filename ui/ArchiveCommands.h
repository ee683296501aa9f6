#pragma once
// The way into the archive, where it moves none of the window's designed controls: a small
// button at the right end of the status bar whose menu offers "档案…" (the archive window, also
// Ctrl+Shift+A), "导入档案" (the records of the open file, or of one chosen, added to the
// archive) and the checkable "存档" (the archiving switch the command line shares).

#include <QCoreApplication>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "ArchiveRecord.h"
#include "WindowArchive.h"

class QAction;
class QToolButton;

namespace leeb {

class ArchiveWindow;
class MainWindow;

class ArchiveCommands : public QObject {
    Q_DECLARE_TR_FUNCTIONS(ArchiveCommands)

  public:
    // A child of the window, with the window's archive.
    ArchiveCommands(MainWindow& form, WindowArchiveOptions options);

    WindowArchive& Archive() { return *archive_; }
    // The archive window, made at its first showing; every showing runs its query afresh.
    ArchiveWindow& ShowArchiveWindow();
    ArchiveWindow* ShownArchiveWindow() const { return window_; }
    // The open file's records, or those of a file the user chooses when none is open.
    void ImportRecords();
    // Where the archive window's trend button hands its filter; by default ShowTrend.
    void SetTrendListener(std::function<void(const ArchiveFilter&)> listener);
    // The trend of the records `filter` chooses, judged with the lab row's settings, in a
    // window of its own; a click on a point shows that record in the main window.
    void ShowTrend(const ArchiveFilter& filter);
    // One archived record in the main window's tree, chart and panel, as if opened from a file.
    void ShowArchivedRecord(int64_t id);

    QToolButton* Button() const { return button_; }
    QAction* ArchivingAction() const { return archiving_; }
    QAction* ImportAction() const { return import_; }

  private:
    MainWindow& form_;
    WindowArchive* archive_ = nullptr;
    ArchiveWindow* window_ = nullptr;
    QToolButton* button_ = nullptr;
    QAction* archiving_ = nullptr;
    QAction* import_ = nullptr;
    std::function<void(const ArchiveFilter&)> trend_;
};

// The program's archive: the location the command line uses, the program's settings.
ArchiveCommands& InstallArchive(MainWindow& form, std::shared_ptr<HidGuiDispatcher> gui);

}  // namespace leeb
