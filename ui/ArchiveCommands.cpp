#include "ArchiveCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

#include "ArchiveTexts.h"
#include "ArchiveWindow.h"
#include "LabSettings.h"
#include "MainWindow.h"
#include "TrendWindow.h"

namespace leeb {

ArchiveCommands::ArchiveCommands(MainWindow& form, WindowArchiveOptions options)
    : QObject(&form), form_(form) {
    archive_ = new WindowArchive(form, std::move(options));
    trend_ = [this](const ArchiveFilter& filter) { ShowTrend(filter); };

    button_ = new QToolButton(form.statusBar());
    button_->setObjectName(QStringLiteral("ArchiveButton"));
    button_->setText(tr("档案"));
    button_->setAutoRaise(true);
    button_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button_);
    menu->setObjectName(QStringLiteral("ArchiveMenu"));
    const QKeySequence windowKey(Qt::CTRL | Qt::SHIFT | Qt::Key_A);
    const QString keyText = windowKey.toString(QKeySequence::NativeText);
    // The key is the window's own shortcut below, so the menu only names it: as the action's
    // shortcut too it would be ambiguous while the menu is open.
    QAction* open = menu->addAction(tr("档案…") + QLatin1Char('\t') + keyText);
    open->setObjectName(QStringLiteral("ArchiveWindowAction"));
    import_ = menu->addAction(tr("导入档案"));
    import_->setObjectName(QStringLiteral("ImportArchiveAction"));
    menu->addSeparator();
    archiving_ = menu->addAction(tr("存档"));
    archiving_->setObjectName(QStringLiteral("ArchivingAction"));
    archiving_->setCheckable(true);
    archiving_->setChecked(archive_->Enabled());
    archiving_->setToolTip(tr("读入的每条记录自动存入档案"));
    import_->setEnabled(archive_->Enabled());
    button_->setMenu(menu);
    button_->setToolTip(tr("测量档案 (%1)").arg(keyText));
    // At the right end: the design's panels keep their places and sizes.
    form.statusBar()->addPermanentWidget(button_);

    // The archive window's verdicts follow the lab row as the main window's do: limits typed
    // while it is open judge its rows at once.
    form.SetQualityListener([this] {
        if (window_ == nullptr || !window_->isVisible())
            return;
        window_->SetQuality(form_.Lab().Quality());
        window_->Search();
    });

    auto* key = new QShortcut(windowKey, &form);
    connect(key, &QShortcut::activated, this, [this] { ShowArchiveWindow(); });
    connect(open, &QAction::triggered, this, [this] { ShowArchiveWindow(); });
    connect(import_, &QAction::triggered, this, [this] {
        form_.RunCommand([this] { ImportRecords(); });
    });
    connect(archiving_, &QAction::toggled, this, [this](bool on) {
        archive_->SetEnabled(on);
        // Switched off, nothing is written anywhere: the import waits for the switch too.
        import_->setEnabled(on);
        form_.ShowFeedback(on ? tr("存档已打开") : tr("存档已关闭"));
    });
}

ArchiveWindow& ArchiveCommands::ShowArchiveWindow() {
    if (window_ == nullptr) {
        window_ = new ArchiveWindow(archive_->Worker(), form_.Lab().Quality(),
                                    form_.DecimalSeparatorInUse(), &form_);
        window_->SetOpenListener([this](const std::vector<ArchivedRecord>& records) {
            form_.RunCommand([this, &records] { form_.ShowArchivedRecords(records); });
            // In front of the archive window, where the user looks for the result.
            form_.raise();
            form_.activateWindow();
        });
        window_->SetTrendListener(trend_);
    }
    // Fresh at every showing: records an upload added meanwhile, limits set meanwhile.
    window_->SetQuality(form_.Lab().Quality());
    window_->Search();
    window_->show();
    window_->raise();
    window_->activateWindow();
    return *window_;
}

void ArchiveCommands::SetTrendListener(std::function<void(const ArchiveFilter&)> listener) {
    trend_ = std::move(listener);
    if (window_ != nullptr)
        window_->SetTrendListener(trend_);
}

void ArchiveCommands::ShowTrend(const ArchiveFilter& filter) {
    const QualitySettings quality = form_.Lab().Quality();
    form_.ShowFeedback(tr("正在读取趋势…"));
    archive_->Worker().Ask<std::vector<TrendRecord>>(
        [filter](ArchiveWorker::Access& access) {
            return access.Reading().TrendRecordsByDate(filter);
        },
        [this, quality, filter](std::vector<TrendRecord> records) {
            form_.ShowFeedback(QString());
            // Its own top-level window, so several trends can be compared side by side; gone
            // with the main window.
            auto* trend = new TrendWindow(std::move(records), quality, filter, &form_);
            trend->setAttribute(Qt::WA_DeleteOnClose);
            trend->SetPointClickHandler([this](int64_t id) { ShowArchivedRecord(id); });
            trend->show();
        },
        [this](const ArchiveFailure& failure) {
            form_.ShowFeedback(QString());
            form_.Dialogs().MessageBox(tr("未能读取趋势。\n%1").arg(ArchiveFailureText(failure)),
                                       MainWindow::ShownCaption(), MB_OK | MB_ICONERROR);
        });
}

void ArchiveCommands::ShowArchivedRecord(int64_t id) {
    archive_->Worker().Ask<std::vector<ArchivedRecord>>(
        [id](ArchiveWorker::Access& access) { return access.Reading().RecordsById({id}); },
        [this](std::vector<ArchivedRecord> records) {
            if (records.empty())
                return;
            form_.RunCommand([this, &records] { form_.ShowArchivedRecords(records); });
            // In front of the archive window, where the user looks for the result.
            form_.raise();
            form_.activateWindow();
        },
        [this](const ArchiveFailure& failure) {
            form_.Dialogs().MessageBox(ArchiveFailureText(failure), MainWindow::ShownCaption(),
                                       MB_OK | MB_ICONERROR);
        });
}

void ArchiveCommands::ImportRecords() {
    if (!archive_->Enabled())
        return;
    QString path = form_.CurrentFile();
    if (path.isEmpty()) {
        const std::optional<QString> chosen = form_.Dialogs().GetOpenFileName(RecordFileFilter);
        if (!chosen || chosen->isEmpty())
            return;
        path = *chosen;
    }
    const QString shown = QFileInfo(path).fileName();
    form_.ShowFeedback(tr("正在导入 %1…").arg(shown));
    archive_->ImportFile(
        path,
        [this, shown](const ArchiveImportSummary& summary) {
            form_.ShowFeedback(shown + QStringLiteral(": ") + ArchiveImportText(summary));
        },
        [this, shown](const ArchiveFailure& failure) {
            form_.ShowFeedback(QString());
            form_.Dialogs().MessageBox(tr("%1 未能导入档案。\n%2").arg(shown,
                                                                      ArchiveFailureText(failure)),
                                       MainWindow::ShownCaption(), MB_OK | MB_ICONERROR);
        });
}

ArchiveCommands& InstallArchive(MainWindow& form, std::shared_ptr<HidGuiDispatcher> gui) {
    auto settings = std::make_unique<QSettings>();
    WindowArchiveOptions options;
    // Where the command line archives, so that both programs keep the same records.
    options.Location = ResolveArchiveLocation({}, *settings);
    options.Local = LocalArchiveLocation();
    options.Gui = std::move(gui);
    options.Settings = std::move(settings);
    return *new ArchiveCommands(form, std::move(options));
}

}  // namespace leeb
