// The record commands of the window: selecting a record, the rebuild after an open, and the
// save (with its CSV export) and open commands.

#include <QFile>
#include <QFileInfo>

#include "BarChart.h"
#include "DetailPanel.h"
#include "RecordCsv.h"
#include "RecordLineView.h"
#include "RecordTreeModel.h"
#include "TForm1.h"

namespace leeb {

namespace {

const char* const ReplaceText = QT_TRANSLATE_NOOP("TForm1", "文件名已存在!\n你要替换现在文件吗?");
const char* const ReplaceCaption = QT_TRANSLATE_NOOP("TForm1", "文件名重复");
const char* const MissingText = QT_TRANSLATE_NOOP("TForm1", "文句名不存在!\n请重新输入文件名");
const char* const MissingCaption = QT_TRANSLATE_NOOP("TForm1", "文件不存在");
const char* const BadHeaderText =
    QT_TRANSLATE_NOOP("TForm1", "文句格式不正确!\n请重新输入文件名......");
const char* const BadHeaderCaption = QT_TRANSLATE_NOOP("TForm1", "文件格式错误");

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Reads line `index` of RecordLines with `read`; a field that does not convert names its line.
template <class Read>
auto ReadLineAt(std::size_t index, const Read& read) {
    try {
        return read();
    } catch (const ConversionError& error) {
        throw error.AtLine(static_cast<int>(index),
                           "Line " + std::to_string(index + 1) + ": " + error.what());
    }
}

}  // namespace

void TForm1::TreeView1Changing(const QModelIndex& node) {
    const std::optional<RecordTreeModel::RecordEntry> record = model_->RecordAt(node);
    if (!record)
        return;  // a reading node, or no node
    // A node whose line is gone (an open that failed its header test emptied RecordLines)
    // shows nothing and changes nothing.
    if (record->LineIndex < 0 ||
        static_cast<std::size_t>(record->LineIndex) >= recordLines_.size()) {
        return;
    }
    panel5_->SetRecordNumberText(QString::number(record->RecordNumber));
    const auto index = static_cast<std::size_t>(record->LineIndex);
    const RecordLineView shown = ReadLineAt(
        index, [&] { return ReadRecordLineView(recordLines_[index], decimalSeparator_); });
    chart1_->SetPoints(shown.Bars);
    ShowRecordDetails(shown.View);
}

void TForm1::RebuildRecordTree() {
    // Parsed first and added in one insertion, so a full file appears at once; a line that
    // does not convert ends the rebuild with the records before it in the tree.
    std::vector<RecordTreeModel::RecordEntry> records;
    records.reserve(recordLines_.empty() ? 0 : recordLines_.size() - 1);
    struct AddOnExit {
        RecordTreeModel& model;
        std::vector<RecordTreeModel::RecordEntry>& records;
        ~AddOnExit() { model.AppendRecords(records); }
    } addOnExit{*model_, records};

    for (std::size_t r = 1; r < recordLines_.size(); ++r) {
        const int number = static_cast<int>(r);
        if (r == 1) {
            const RecordLineView first = ReadLineAt(
                r, [&] { return ReadRecordLineView(recordLines_[r], decimalSeparator_); });
            chart1_->SetPoints(first.Bars);
            records.push_back({number, number, static_cast<int>(first.Bars.size())});
        } else {
            const RecordTextFields fields =
                ReadLineAt(r, [&] { return ParseRecordLine(recordLines_[r], decimalSeparator_); });
            records.push_back({number, number, static_cast<int>(fields.Readings.size())});
        }
    }
}

void TForm1::BitBtn2Click() {
    const std::optional<SaveFileChoice> chosen = dialogs_.GetSaveFileName(SaveFileFilter);
    if (!chosen || chosen->Path.isEmpty())
        return;
    const bool csv = chosen->FilterIndex == CsvFilterIndex;
    QString path = chosen->Path;
    // Only the file's own name decides: a dot in a folder name is no extension.
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.'))) {
        path += csv ? QStringLiteral(".csv") : QStringLiteral(".txt");
    }
    if (QFileInfo::exists(path) && dialogs_.MessageBox(tr(ReplaceText), tr(ReplaceCaption),
                                                       MB_YESNO | MB_ICONQUESTION) == IDNO) {
        return;
    }
    // Both are written atomically: a failure leaves the old file whole and the save button
    // enabled.
    if (csv) {
        // An export for spreadsheets, not a save of the record file: the records are still
        // unsaved, so the save button stays enabled.
        WriteRecordCsv(LocalPath(path), recordLines_, decimalSeparator_);
        return;
    }
    WriteRecordFile(LocalPath(path), recordLines_);
    recordFile_ = path;
    SetButtonEnabled(CommandButton::Save, false);
}

void TForm1::BitBtn5Click() {
    const std::optional<QString> chosen = dialogs_.GetOpenFileName(RecordFileFilter);
    if (!chosen || chosen->isEmpty())
        return;
    const QFileInfo file(*chosen);
    if (!file.exists() || file.isDir()) {
        dialogs_.MessageBox(tr(MissingText), tr(MissingCaption), MB_OK | MB_ICONERROR);
        return;
    }
    // A file that cannot be read leaves RecordLines as it was.
    RecordLines previous = ReadRecordFile(LocalPath(*chosen));
    std::swap(previous, recordLines_);

    if (!HeaderTest(recordLines_)) {
        // The tree keeps showing the records it showed; their lines stay with it.
        model_->KeepShownLines(std::move(previous));
        recordLines_.clear();
        dialogs_.MessageBox(tr(BadHeaderText), tr(BadHeaderCaption), MB_OK | MB_ICONERROR);
        return;
    }
    previous = RecordLines();
    recordFile_ = *chosen;

    chart1_->Clear();
    model_->Clear();
    for (CommandButton button : {CommandButton::Read, CommandButton::Save,
                                 CommandButton::PrintChart, CommandButton::PrintReport}) {
        SetButtonEnabled(button, false);
    }
    RebuildRecordTree();
    for (CommandButton button :
         {CommandButton::Read, CommandButton::Save, CommandButton::PrintChart,
          CommandButton::PrintReport, CommandButton::Open}) {
        SetButtonEnabled(button, true);
    }
    // Record 1 is shown in the detail panel too, as after an upload.
    if (model_->RecordCount() > 0) {
        treeView1_->setCurrentIndex(model_->RecordIndex(0));
    }
}

}  // namespace leeb
