// The record commands of the window: selecting a record, the rebuild after an open, the save
// (with its CSV export), the tree's own CSV export and the open command.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "BarChart.h"
#include "DetailPanel.h"
#include "OutputFileName.h"
#include "RecordCsv.h"
#include "ErrorText.h"
#include "RecordLineView.h"
#include "RecordSet.h"
#include "RecordTreeModel.h"
#include "MainWindow.h"

namespace leeb {

namespace {

const char* const ReplaceText = QT_TRANSLATE_NOOP("MainWindow", "文件名已存在!\n你要替换现在文件吗?");
const char* const ReplaceCaption = QT_TRANSLATE_NOOP("MainWindow", "文件名重复");
const char* const MissingText = QT_TRANSLATE_NOOP("MainWindow", "文句名不存在!\n请重新输入文件名");
const char* const MissingCaption = QT_TRANSLATE_NOOP("MainWindow", "文件不存在");

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void MainWindow::RecordNodeChanging(const QModelIndex& node) {
    const std::optional<RecordTreeModel::RecordEntry> record = model_->RecordAt(node);
    if (!record)
        return;  // a reading node, or no node
    // A node whose line is gone (an open that failed its header test emptied RecordLines)
    // shows nothing and changes nothing.
    if (record->LineIndex < 0 ||
        static_cast<std::size_t>(record->LineIndex) >= Lines().size()) {
        return;
    }
    detailPanel_->SetRecordNumberText(QString::number(record->RecordNumber));
    const RecordLineView shown = ReadRecordLineView(
        Lines()[static_cast<std::size_t>(record->LineIndex)], decimalSeparator_);
    chart_->SetPoints(shown.Bars);
    shownReadings_.clear();
    for (const QPointF& bar : shown.Bars) {
        shownReadings_.push_back(bar.y());
    }
    ShowRecordWithQuality(shown.View);
}

void MainWindow::WireRecordSet() {
    records_->AddListener([this](RecordSet::Change change) {
        if (change == RecordSet::Change::Appended) {
            const RecordSet::Record& last = records_->Records().back();
            model_->AppendRecord(
                {last.Number, last.LineIndex, last.ReadingCount, last.DamagedImpactCount});
        } else if (change == RecordSet::Change::Replaced) {
            // One insertion for all, so a full file appears at once.
            std::vector<RecordTreeModel::RecordEntry> entries;
            entries.reserve(records_->Records().size());
            for (const RecordSet::Record& record : records_->Records()) {
                entries.push_back({record.Number, record.LineIndex, record.ReadingCount,
                                   record.DamagedImpactCount});
            }
            model_->Clear();
            model_->AppendRecords(entries);
        }
        exportCsv_->setEnabled(model_->RecordCount() > 0);
        ShowCaption();
    });
}

void MainWindow::RebuildRecordTree() {
    // A line that does not convert ends the rebuild with the records before it in the tree.
    records_->ReadBackLines();
    if (records_->Count() > 0) {
        chart_->SetPoints(ReadRecordLineView(Lines()[1], decimalSeparator_).Bars);
    }
}

const RecordLines& MainWindow::Lines() const {
    return records_->Lines();
}

RecordLines& MainWindow::Lines() {
    return records_->Lines();
}

bool MainWindow::RecordsUnsaved() const {
    return records_->Unsaved();
}

void MainWindow::RequireRecordLines() const {
    // Every state that enables saving has the header in RecordLines; should one ever not,
    // an empty file must not be written over a good one.
    if (!HeaderTest(Lines())) {
        throw RecordFileError(
            QCoreApplication::translate("MainWindow", "没有可保存的记录。").toStdString());
    }
}

void MainWindow::SaveClicked() {
    RequireRecordLines();
    const std::optional<SaveFileChoice> chosen = dialogs_.GetSaveFileName(SaveFileFilter);
    if (!chosen || chosen->Path.isEmpty())
        return;
    QString path = chosen->Path;
    // A typed extension decides the format; the chosen filter entry only decides for a name
    // without one. Only the file's own name counts: a dot in a folder name is no extension.
    const QString name = QFileInfo(path).fileName();
    const bool csv = name.contains(QLatin1Char('.'))
                         ? name.section(QLatin1Char('.'), -1)
                                   .compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0
                         : chosen->FilterIndex == CsvFilterIndex;
    path = QFile::decodeName(
        QByteArray::fromStdString(WithDefaultExtension(LocalPath(path), csv ? ".csv" : ".txt")));
    if (csv) {
        ExportCsvTo(path);
        return;
    }
    if (!MayReplaceFile(path))
        return;
    // Written atomically: a failure leaves the old file whole and the save button enabled.
    records_->SaveAs(path);
    SetButtonEnabled(CommandButton::Save, false);
    if (fileListener_)
        fileListener_(path);
    ShowFeedback(
        QCoreApplication::translate("MainWindow", "已保存 %1").arg(QDir::toNativeSeparators(path)));
}

void MainWindow::ExportCsvClicked() {
    RequireRecordLines();
    const std::optional<SaveFileChoice> chosen = dialogs_.GetSaveFileName(CsvFileFilter);
    if (!chosen || chosen->Path.isEmpty())
        return;
    // The command names its format: whatever the name's extension, the table is written.
    ExportCsvTo(QFile::decodeName(
        QByteArray::fromStdString(WithDefaultExtension(LocalPath(chosen->Path), ".csv"))));
}

void MainWindow::ExportCsvTo(const QString& path) {
    if (!MayReplaceFile(path))
        return;
    // An export for spreadsheets, not a save of the record file: the records keep their
    // unsaved state, so the save button stays as it is. Written atomically: a failure leaves
    // the old file whole.
    records_->ExportCsv(path, CsvOptions());
    ShowFeedback(
        QCoreApplication::translate("MainWindow", "已保存 %1").arg(QDir::toNativeSeparators(path)));
}

bool MainWindow::MayReplaceFile(const QString& path) {
    return !QFileInfo::exists(path) || dialogs_.MessageBox(tr(ReplaceText), tr(ReplaceCaption),
                                                           MB_YESNO | MB_ICONQUESTION) != IDNO;
}

void MainWindow::OpenClicked() {
    const std::optional<QString> chosen = dialogs_.GetOpenFileName(RecordFileFilter);
    if (!chosen || chosen->isEmpty())
        return;
    OpenRecordFile(*chosen);
}

void MainWindow::OpenRecordFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists() || file.isDir()) {
        dialogs_.MessageBox(tr(MissingText), tr(MissingCaption), MB_OK | MB_ICONERROR);
        return;
    }
    // The file streams in and every line is converted once before anything changes: a file
    // that is refused leaves records, tree, chart, panel and buttons as they were.
    RecordSet::Contents opened;
    try {
        opened = RecordSet::ReadFile(LocalPath(path), decimalSeparator_);
    } catch (const RecordFileError& error) {
        ShowOpenRefusal(path, error);
        return;
    }
    if (!MayReplaceRecords(RecordsReplacedBy::Open))
        return;

    chart_->Clear();
    for (CommandButton button : {CommandButton::Read, CommandButton::Save,
                                 CommandButton::PrintChart, CommandButton::PrintReport}) {
        SetButtonEnabled(button, false);
    }
    records_->Replace(std::move(opened), file.absoluteFilePath());
    if (records_->Count() > 0) {
        chart_->SetPoints(ReadRecordLineView(Lines()[1], decimalSeparator_).Bars);
    }
    for (CommandButton button :
         {CommandButton::Read, CommandButton::Save, CommandButton::PrintChart,
          CommandButton::PrintReport, CommandButton::Open}) {
        SetButtonEnabled(button, true);
    }
    // Record 1 is shown in the detail panel too, as after an upload.
    if (model_->RecordCount() > 0) {
        recordTree_->setCurrentIndex(model_->RecordIndex(0));
    }
    if (fileListener_)
        fileListener_(file.absoluteFilePath());
    ShowFeedback(QCoreApplication::translate("MainWindow", "已打开 %1 (%2 条记录)")
                     .arg(QDir::toNativeSeparators(file.absoluteFilePath()))
                     .arg(model_->RecordCount()));
}

void MainWindow::ShowOpenRefusal(const QString& path, const RecordFileError& error) {
    const ErrorText::Refusal refusal = ErrorText::OpenRefusal(error, QDir::toNativeSeparators(path));
    dialogs_.MessageBox(refusal.Text, refusal.Caption, MB_OK | MB_ICONERROR);
}

}  // namespace leeb
