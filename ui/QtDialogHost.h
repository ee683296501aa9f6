#pragma once
// DialogHost with Qt's message boxes and file dialogs.

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "DialogHost.h"

namespace leeb {

// Icon and buttons of a message box for MB_* flags; exposed for checks.
void ConfigureMessageBox(QMessageBox& box, const QString& text, const QString& caption,
                         unsigned flags);
// IDYES, IDNO or IDOK for the button that closed the box.
int MessageBoxAnswer(int result);
// A question box with a button per text; returns the buttons in the order of the texts (the
// box itself lists them by role). Exposed for checks.
QList<QAbstractButton*> ConfigureQuestionBox(QMessageBox& box, const QString& text,
                                             const QString& caption, const QStringList& buttons);
// The index in `buttons` of the one that closed the box; the last (the escape button) when
// none did.
int QuestionAnswer(const QMessageBox& box, const QList<QAbstractButton*>& buttons);

class DesktopSettings;

class QtDialogHost : public DialogHost {
  public:
    explicit QtDialogHost(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Where the open and the save dialog were last left is kept there, each for itself, and
    // each dialog starts there. Null: the dialogs start in the working folder every time.
    void SetSettings(DesktopSettings* settings) { settings_ = settings; }

    int MessageBox(const QString& text, const QString& caption, unsigned flags) override;
    int AskQuestion(const QString& text, const QString& caption,
                    const QStringList& buttons) override;
    std::optional<SaveFileChoice> GetSaveFileName(const QString& filter) override;
    std::optional<QString> GetOpenFileName(const QString& filter) override;

  private:
    QPointer<QWidget> parent_;
    DesktopSettings* settings_ = nullptr;
};

}  // namespace leeb
