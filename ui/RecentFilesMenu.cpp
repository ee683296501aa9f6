#include "RecentFilesMenu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include "DesktopSettings.h"
#include "MainWindow.h"

namespace leeb {

void FillRecentFilesMenu(QMenu& menu, MainWindow& form, DesktopSettings& settings) {
    menu.clear();
    menu.setTitle(QCoreApplication::translate("MainWindow", "最近打开的文件"));
    const QStringList files = settings.RecentFiles();
    if (files.isEmpty()) {
        menu.addAction(QCoreApplication::translate("MainWindow", "(无)"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        // &1 .. &8: each entry has its key.
        QAction* entry =
            menu.addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        QObject::connect(entry, &QAction::triggered, &form, [&form, &settings, path] {
            if (!form.Button(CommandButton::Open)->isEnabled())
                return;
            form.RunCommand([&form, path] { form.OpenRecordFile(path); });
            if (!QFileInfo::exists(path))
                settings.RemoveRecentFile(path);
        });
    }
}

void InstallRecentFiles(MainWindow& form, DesktopSettings& settings) {
    form.SetFileListener([&settings](const QString& path) { settings.AddRecentFile(path); });
    QPushButton* open = form.Button(CommandButton::Open);
    open->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(open);
    menu->setObjectName(QStringLiteral("RecentFilesMenu"));
    QObject::connect(open, &QWidget::customContextMenuRequested, menu,
                     [open, menu, &form, &settings](const QPoint& at) {
                         FillRecentFilesMenu(*menu, form, settings);
                         menu->popup(open->mapToGlobal(at));
                     });
}

}  // namespace leeb
