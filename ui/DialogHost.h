#pragma once
// Every message box and file dialog of the window goes through this interface, so that tests
// can answer them and check what was asked.

#include <QString>
#include <optional>

#include "MessageBoxFlags.h"

namespace leeb {

// The filter of both file dialogs: two entries, "*.txt" and "*.TXT".
inline const QString RecordFileFilter = QStringLiteral("*.txt (*.txt);;*.TXT (*.TXT)");

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // flags: MB_OK or MB_YESNO combined with one MB_ICON*; the answer is IDOK, IDYES or IDNO.
    // A line break in text is "\n".
    virtual int MessageBox(const QString& text, const QString& caption, unsigned flags) = 0;

    // The chosen path, or nothing when the user cancelled. The save dialog adds no extension
    // and asks nothing about existing files; the open dialog accepts names that do not exist.
    virtual std::optional<QString> GetSaveFileName(const QString& filter) = 0;
    virtual std::optional<QString> GetOpenFileName(const QString& filter) = 0;
};

}  // namespace leeb
