#include "WindowShortcuts.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QShortcut>

#include "AboutBox.h"
#include "MainWindow.h"

namespace leeb {

QKeySequence ReportWithDetailsKey() {
    return QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P);
}

QKeySequence ShortcutOf(CommandButton button) {
    switch (button) {
        case CommandButton::Read:
            return QKeySequence(Qt::Key_F5);
        case CommandButton::Save:
            return QKeySequence(Qt::CTRL | Qt::Key_S);
        case CommandButton::Open:
            return QKeySequence(Qt::CTRL | Qt::Key_O);
        case CommandButton::PrintReport:
            return QKeySequence(Qt::CTRL | Qt::Key_P);
        case CommandButton::PrintChart:
            return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P);
    }
    return {};
}

void InstallShortcuts(MainWindow& form) {
    for (CommandButton button : {CommandButton::Read, CommandButton::Save, CommandButton::Open,
                                 CommandButton::PrintChart, CommandButton::PrintReport}) {
        QPushButton* target = form.Button(button);
        const QKeySequence key = ShortcutOf(button);
        QString tip =
            QStringLiteral("%1 (%2)").arg(target->text(), key.toString(QKeySequence::NativeText));
        if (button == CommandButton::Open)
            tip += QStringLiteral("\n") +
                   QCoreApplication::translate("MainWindow", "右键单击: 最近打开的文件");
        if (button == CommandButton::PrintReport)
            tip += QStringLiteral("\n") +
                   QCoreApplication::translate("MainWindow", "%1: 先填写报表信息")
                       .arg(ReportWithDetailsKey().toString(QKeySequence::NativeText));
        target->setToolTip(tip);
        auto* shortcut = new QShortcut(key, &form);
        // click() does nothing on a disabled button: the button states guard the keys too.
        // Only the read key says why it did nothing when the reason is a missing tester.
        QObject::connect(shortcut, &QShortcut::activated, target, [target, button, &form] {
            if (button == CommandButton::Read && !target->isEnabled() && !form.UploadRunning())
                form.TellNoTester();
            target->click();
        });
    }
    // The report with its details asked first; the print-report button's state guards it too.
    auto* withDetails = new QShortcut(ReportWithDetailsKey(), &form);
    QObject::connect(withDetails, &QShortcut::activated, &form, [&form] {
        if (form.Button(CommandButton::PrintReport)->isEnabled())
            form.RunCommand([&form] { form.PrintReportWithDetails(); });
    });
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), &form);
    QObject::connect(about, &QShortcut::activated, &form, [&form] { ShowAboutBox(&form); });
}

}  // namespace leeb
