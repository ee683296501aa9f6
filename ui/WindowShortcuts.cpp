#include "WindowShortcuts.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QShortcut>

#include "AboutBox.h"
#include "MainWindow.h"

namespace leeb {

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
        target->setToolTip(tip);
        auto* shortcut = new QShortcut(key, &form);
        // click() does nothing on a disabled button: the button states guard the keys too.
        QObject::connect(shortcut, &QShortcut::activated, target, [target] { target->click(); });
    }
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), &form);
    QObject::connect(about, &QShortcut::activated, &form, [&form] { ShowAboutBox(&form); });
}

}  // namespace leeb
