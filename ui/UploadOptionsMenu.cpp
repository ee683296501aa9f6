#include "UploadOptionsMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>

#include "DesktopSettings.h"
#include "MainWindow.h"

namespace leeb {

void InstallUploadOptions(MainWindow& form, DesktopSettings& settings) {
    form.SetVerifiedUpload(settings.VerifiedUpload());
    QPushButton* read = form.Button(CommandButton::Read);
    read->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(read);
    menu->setObjectName(QStringLiteral("UploadOptionsMenu"));
    QAction* verified = menu->addAction(QCoreApplication::translate("MainWindow", "校验读取"));
    verified->setObjectName(QStringLiteral("VerifiedUploadAction"));
    verified->setCheckable(true);
    verified->setChecked(settings.VerifiedUpload());
    verified->setToolTip(
        QCoreApplication::translate("MainWindow", "每条记录读两次并比较，读入约需两倍时间"));
    QObject::connect(verified, &QAction::toggled, read, [&form, &settings](bool on) {
        form.SetVerifiedUpload(on);
        settings.SetVerifiedUpload(on);
    });
    QObject::connect(read, &QWidget::customContextMenuRequested, menu,
                     [read, menu](const QPoint& at) { menu->popup(read->mapToGlobal(at)); });
}

}  // namespace leeb
