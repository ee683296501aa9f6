#pragma once
// Every message box and file dialog of the window goes through this interface, so that tests
// can answer them and check what was asked.

#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>

#include "MessageBoxFlags.h"
#include "ReportDetailsDialog.h"

namespace leeb {

// The filter of the open dialog: two entries, "*.txt" and "*.TXT".
inline const QString RecordFileFilter = QStringLiteral("*.txt (*.txt);;*.TXT (*.TXT)");
// The save dialog offers the same two entries and a third, the CSV export.
inline const QString SaveFileFilter = RecordFileFilter + QStringLiteral(";;*.csv (*.csv)");
inline constexpr int CsvFilterIndex = 2;
// The tree's "导出 CSV…" offers the CSV entry alone.
inline const QString CsvFileFilter = QStringLiteral("*.csv (*.csv)");

// A file chosen in the save dialog, with the index of the filter entry that was selected.
struct SaveFileChoice {
    QString Path;
    int FilterIndex = 0;
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // flags: MB_OK or MB_YESNO combined with one MB_ICON*; the answer is IDOK, IDYES or IDNO.
    // A line break in text is "\n".
    virtual int MessageBox(const QString& text, const QString& caption, unsigned flags) = 0;

    // A question answered with one of its own buttons, texts as given: the first is the
    // default, the last answers Escape and closing the box. The answer is the index of the
    // button pressed.
    virtual int AskQuestion(const QString& text, const QString& caption,
                            const QStringList& buttons) = 0;

    // The chosen path, or nothing when the user cancelled. The save dialog adds no extension
    // and asks nothing about existing files; the open dialog accepts names that do not exist.
    // filter: entries "text (patterns)" separated by ";;".
    virtual std::optional<SaveFileChoice> GetSaveFileName(const QString& filter) = 0;
    virtual std::optional<QString> GetOpenFileName(const QString& filter) = 0;

    // "报表信息", before the report's output options or from them: the details to print and the
    // records, the proposal's when skipped; nothing when the user cancels. The default skips,
    // so a host that does not ask gets the plain report.
    virtual std::optional<ReportDetailsChoice> AskReportDetails(const ReportDetailsChoice& proposed,
                                                                std::size_t recordCount) {
        (void)recordCount;
        return ReportDetailsChoice{{}, proposed.Records, true};
    }
};

}  // namespace leeb
