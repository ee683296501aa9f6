// Records the archive hands to the window: shown as an opened file's would be, in no file, so
// that save, report, export and print work on them as on any other.

#include <QCoreApplication>

#include "MainWindow.h"
#include "RecordTreeModel.h"

namespace leeb {

void MainWindow::ShowArchivedRecords(const std::vector<ArchivedRecord>& records) {
    // As the open button, the recent files and a dropped file: never while an upload writes
    // into the records (or the tester refuses a start it has asked about).
    if (!Button(CommandButton::Open)->isEnabled()) {
        ShowFeedback(QCoreApplication::translate("MainWindow", "正在读入数据, 档案记录稍后再打开"));
        return;
    }
    // Every line converted before anything shown changes: one that does not leaves all as it was.
    RecordSet::Contents contents;
    contents.Lines.reserve(records.size() + 1);
    contents.Lines.emplace_back(RecordFileHeader);
    contents.Records.reserve(records.size());
    for (const ArchivedRecord& record : records) {
        const RecordTextFields fields = ParseRecordLine(record.Line, decimalSeparator_);
        const int lineIndex = static_cast<int>(contents.Lines.size());
        contents.Lines.push_back(record.Line);
        // A record from a file has no tester number: its place in the list stands in, as an
        // opened file's records are numbered.
        const int number = record.TesterNumber > 0 ? record.TesterNumber : lineIndex;
        contents.Records.push_back(
            {number, lineIndex, static_cast<int>(fields.Readings.size()), fields.DateText});
    }
    if (!MayReplaceRecords(RecordsReplacedBy::Open))
        return;
    ShowOpenedRecords(std::move(contents), QString());
    ShowFeedback(QCoreApplication::translate("MainWindow", "已从档案打开 %1 条记录")
                     .arg(model_->RecordCount()));
}

}  // namespace leeb
