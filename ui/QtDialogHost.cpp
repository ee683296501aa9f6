#include "QtDialogHost.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "DesktopSettings.h"

namespace leeb {

namespace {

QMessageBox::Icon IconForFlags(unsigned flags) {
    if ((flags & MB_ICONMASK) == MB_ICONWARNING)
        return QMessageBox::Warning;
    if (flags & MB_ICONERROR)
        return QMessageBox::Critical;
    if (flags & MB_ICONQUESTION)
        return QMessageBox::Question;
    if (flags & MB_ICONINFORMATION)
        return QMessageBox::Information;
    return QMessageBox::NoIcon;
}

std::optional<SaveFileChoice> RunFileDialog(QWidget* parent, const QString& filter,
                                            QFileDialog::AcceptMode mode,
                                            DesktopSettings* settings) {
    const QString key =
        mode == QFileDialog::AcceptSave ? QStringLiteral("save") : QStringLiteral("open");
    QFileDialog dialog(parent);
    if (settings != nullptr) {
        const QString folder = settings->LastFolder(key);
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            dialog.setDirectory(folder);
    }
    dialog.setAcceptMode(mode);
    // Both dialogs take any name: the commands themselves check for existing files.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList entries = filter.split(QStringLiteral(";;"));
    dialog.setNameFilters(entries);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    if (settings != nullptr)
        settings->SetLastFolder(key, QFileInfo(dialog.selectedFiles().front()).absolutePath());
    return SaveFileChoice{
        dialog.selectedFiles().front(),
        std::max<int>(0, static_cast<int>(entries.indexOf(dialog.selectedNameFilter())))};
}

}  // namespace

void ConfigureMessageBox(QMessageBox& box, const QString& text, const QString& caption,
                         unsigned flags) {
    box.setIcon(IconForFlags(flags));
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (flags & MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
}

int MessageBoxAnswer(int result) {
    switch (result) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDOK;
    }
}

QList<QAbstractButton*> ConfigureQuestionBox(QMessageBox& box, const QString& text,
                                             const QString& caption, const QStringList& buttons) {
    QList<QAbstractButton*> added;
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        // The roles place the buttons by the desktop's conventions: go on, go on without, back.
        const QMessageBox::ButtonRole role = i == 0 ? QMessageBox::AcceptRole
                                             : i + 1 == buttons.size()
                                                 ? QMessageBox::RejectRole
                                                 : QMessageBox::DestructiveRole;
        QPushButton* button = box.addButton(buttons[i], role);
        added.append(button);
        if (i == 0)
            box.setDefaultButton(button);
        if (i + 1 == buttons.size())
            box.setEscapeButton(button);
    }
    return added;
}

int QuestionAnswer(const QMessageBox& box, const QList<QAbstractButton*>& buttons) {
    const qsizetype index = buttons.indexOf(box.clickedButton());
    return static_cast<int>(index >= 0 ? index : buttons.size() - 1);
}

int QtDialogHost::MessageBox(const QString& text, const QString& caption, unsigned flags) {
    QMessageBox box(parent_);
    ConfigureMessageBox(box, text, caption, flags);
    return MessageBoxAnswer(box.exec());
}

int QtDialogHost::AskQuestion(const QString& text, const QString& caption,
                              const QStringList& buttons) {
    QMessageBox box(parent_);
    const QList<QAbstractButton*> added = ConfigureQuestionBox(box, text, caption, buttons);
    box.exec();
    return QuestionAnswer(box, added);
}

std::optional<SaveFileChoice> QtDialogHost::GetSaveFileName(const QString& filter) {
    return RunFileDialog(parent_, filter, QFileDialog::AcceptSave, settings_);
}

std::optional<QString> QtDialogHost::GetOpenFileName(const QString& filter) {
    std::optional<SaveFileChoice> chosen =
        RunFileDialog(parent_, filter, QFileDialog::AcceptOpen, settings_);
    if (!chosen)
        return std::nullopt;
    return chosen->Path;
}

std::optional<ReportDetailsChoice> QtDialogHost::AskReportDetails(
    const ReportDetailsChoice& proposed, std::size_t recordCount) {
    ReportDetailsDialog dialog(proposed, recordCount, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

}  // namespace leeb
