// The record commands of the window: selecting a record, the rebuild after an open, and the
// save (with its CSV export) and open commands.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "BarChart.h"
#include "DetailPanel.h"
#include "OutputFileName.h"
#include "RecordCsv.h"
#include "RecordFileCheck.h"
#include "RecordLineView.h"
#include "RecordTreeModel.h"
#include "MainWindow.h"

namespace leeb {

namespace {

const char* const ReplaceText = QT_TRANSLATE_NOOP("MainWindow", "文件名已存在!\n你要替换现在文件吗?");
const char* const ReplaceCaption = QT_TRANSLATE_NOOP("MainWindow", "文件名重复");
const char* const MissingText = QT_TRANSLATE_NOOP("MainWindow", "文句名不存在!\n请重新输入文件名");
const char* const MissingCaption = QT_TRANSLATE_NOOP("MainWindow", "文件不存在");
const char* const BadHeaderText =
    QT_TRANSLATE_NOOP("MainWindow", "文句格式不正确!\n请重新输入文件名......");
const char* const BadHeaderCaption = QT_TRANSLATE_NOOP("MainWindow", "文件格式错误");

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
        static_cast<std::size_t>(record->LineIndex) >= recordLines_.size()) {
        return;
    }
    detailPanel_->SetRecordNumberText(QString::number(record->RecordNumber));
    const RecordLineView shown = ReadRecordLineView(
        recordLines_[static_cast<std::size_t>(record->LineIndex)], decimalSeparator_);
    chart_->SetPoints(shown.Bars);
    shownReadings_.clear();
    for (const QPointF& bar : shown.Bars) {
        shownReadings_.push_back(bar.y());
    }
    ShowRecordWithQuality(shown.View);
}

void MainWindow::RebuildRecordTree() {
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
            const RecordLineView first = ReadRecordLineView(recordLines_[r], decimalSeparator_);
            chart_->SetPoints(first.Bars);
            records.push_back({number, number, static_cast<int>(first.Bars.size())});
        } else {
            const RecordTextFields fields = ParseRecordLine(recordLines_[r], decimalSeparator_);
            records.push_back({number, number, static_cast<int>(fields.Readings.size())});
        }
    }
}

std::vector<long> MainWindow::RecordNumbersByLine() const {
    // The tree knows each record's own number; a line without a node keeps its line index.
    std::vector<long> numbers(recordLines_.empty() ? 0 : recordLines_.size() - 1);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = static_cast<long>(i + 1);
    }
    for (int row = 0; row < model_->RecordCount(); ++row) {
        const std::optional<RecordTreeModel::RecordEntry> record =
            model_->RecordAt(model_->RecordIndex(row));
        if (record && record->LineIndex >= 1 &&
            static_cast<std::size_t>(record->LineIndex) <= numbers.size()) {
            numbers[static_cast<std::size_t>(record->LineIndex) - 1] = record->RecordNumber;
        }
    }
    return numbers;
}

void MainWindow::SaveClicked() {
    // Every state that enables saving has the header in RecordLines; should one ever not,
    // an empty file must not be written over a good one.
    if (!HeaderTest(recordLines_)) {
        throw RecordFileError(
            QCoreApplication::translate("MainWindow", "没有可保存的记录。").toStdString());
    }
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
    if (QFileInfo::exists(path) && dialogs_.MessageBox(tr(ReplaceText), tr(ReplaceCaption),
                                                       MB_YESNO | MB_ICONQUESTION) == IDNO) {
        return;
    }
    // Both are written atomically: a failure leaves the old file whole and the save button
    // enabled.
    if (csv) {
        // An export for spreadsheets, not a save of the record file: the records are still
        // unsaved, so the save button stays enabled.
        WriteRecordCsv(LocalPath(path), recordLines_, RecordNumbersByLine(), decimalSeparator_,
                       CsvOptions());
        ShowFeedback(
            QCoreApplication::translate("MainWindow", "已保存 %1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    WriteRecordFile(LocalPath(path), recordLines_);
    recordsUnsaved_ = false;
    SetButtonEnabled(CommandButton::Save, false);
    SetCurrentFile(path);
    ShowFeedback(
        QCoreApplication::translate("MainWindow", "已保存 %1").arg(QDir::toNativeSeparators(path)));
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
    // The whole file is read and every line converted before anything changes: a file that
    // is refused leaves records, tree, chart, panel and buttons as they were.
    CheckedRecordFile opened = ReadRecordFileForOpen(LocalPath(path), decimalSeparator_);
    if (opened.Problem) {
        ShowOpenProblem(path, *opened.Problem);
        return;
    }
    if (!MayReplaceRecords(RecordsReplacedBy::Open))
        return;

    chart_->Clear();
    model_->Clear();
    recordLines_ = std::move(opened.Lines);
    recordsUnsaved_ = false;
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
        recordTree_->setCurrentIndex(model_->RecordIndex(0));
    }
    SetCurrentFile(file.absoluteFilePath());
    ShowFeedback(QCoreApplication::translate("MainWindow", "已打开 %1 (%2 条记录)")
                     .arg(QDir::toNativeSeparators(file.absoluteFilePath()))
                     .arg(model_->RecordCount()));
}

void MainWindow::ShowOpenProblem(const QString& path, const RecordFileProblem& problem) {
    using Cause = RecordFileProblem::Cause;
    const QString file = QDir::toNativeSeparators(path);
    const QString detail = QString::fromStdString(problem.Detail);
    if (problem.Kind == Cause::Unreadable) {
        dialogs_.MessageBox(
            QCoreApplication::translate("MainWindow", "无法读取文件 %1\n(%2)").arg(file, detail),
            QCoreApplication::translate("MainWindow", "文件读取错误"), MB_OK | MB_ICONERROR);
        return;
    }
    QString cause;
    switch (problem.Kind) {
        case Cause::Empty:
            cause = QCoreApplication::translate("MainWindow", "文件是空的");
            break;
        case Cause::BadHeader:
            cause = QCoreApplication::translate("MainWindow", "第一行不是记录文件的文件头 \"%1\"")
                        .arg(QString::fromLatin1(RecordFileHeader.data(),
                                                 static_cast<qsizetype>(RecordFileHeader.size())));
            break;
        case Cause::EmptyLine:
            cause = QCoreApplication::translate("MainWindow", "空行, 不是记录");
            break;
        default:
            cause = QCoreApplication::translate("MainWindow", "记录无法转换 (%1)").arg(detail);
            break;
    }
    const QString where = QCoreApplication::translate("MainWindow", "文件 %1 第 %2 行: %3")
                              .arg(file, QString::number(problem.LineNumber), cause);
    dialogs_.MessageBox(tr(BadHeaderText) + QStringLiteral("\n\n") + where, tr(BadHeaderCaption),
                        MB_OK | MB_ICONERROR);
}

}  // namespace leeb
