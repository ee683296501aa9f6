// The lab's additions as the window wires them: the lab row judges the record shown, the
// panel, chart and tree show its marks, and the report and the CSV export take the lab's
// settings and the records chosen in the tree. With nothing set the window shows what it
// always showed.

#include <QItemSelectionModel>
#include <QStringList>
#include <algorithm>
#include <stdexcept>

#include "BarChart.h"
#include "CsvText.h"
#include "DetailPanel.h"
#include "LabRow.h"
#include "LabSettings.h"
#include "MainWindow.h"
#include "RecordSelection.h"
#include "RecordSet.h"
#include "RecordSelectionText.h"
#include "RecordTreeModel.h"
#include "ReportSystem.h"

namespace leeb {

void MainWindow::BuildLabRow() {
    if (!labSettings_)
        labSettings_ = std::make_unique<LabSettings>();
    labRow_ = new LabRow(*labSettings_, decimalSeparator_, detailPanel_);
    labRow_->SetOnChange([this] { QualityChanged(); });
    model_->SetQuality(labSettings_->Quality());
}

void MainWindow::UseLabSettings(std::unique_ptr<LabSettings> settings) {
    labSettings_ = std::move(settings);
    labRow_->UseSettings(*labSettings_);
}

void MainWindow::ShowRecordWithQuality(const RecordView& record) {
    shownView_ = record;
    const LabRow::Judged judged = labRow_->Show(record, shownReadings_);
    detailPanel_->ShowRecordDetails(judged.Shown);
    if (judged.Marked) {
        chart_->SetLimitMarks(judged.Marks);
    } else if (!chart_->LimitMarks().Marks.empty() || chart_->LimitMarks().Limits.Any()) {
        chart_->SetLimitMarks({});
    }
}

void MainWindow::QualityChanged() {
    model_->SetQuality(labSettings_->Quality());
    if (shownView_)
        ShowRecordWithQuality(*shownView_);
    if (qualityListener_)
        qualityListener_();
}

std::vector<std::size_t> MainWindow::SelectedRecordLines() const {
    std::vector<std::size_t> chosen;
    for (const QModelIndex& row : recordTree_->selectionModel()->selectedRows()) {
        const std::optional<RecordTreeModel::RecordEntry> record = model_->RecordAt(row);
        if (record && record->LineIndex > 0 &&
            static_cast<std::size_t>(record->LineIndex) < Lines().size()) {
            chosen.push_back(static_cast<std::size_t>(record->LineIndex));
        }
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    // One record selected is where the user is looking, not a choice of records.
    if (chosen.size() < 2)
        chosen.clear();
    return chosen;
}

QString MainWindow::RecordListText(const std::vector<std::size_t>& lines) {
    QStringList parts;
    for (std::size_t i = 0; i < lines.size();) {
        std::size_t j = i;
        while (j + 1 < lines.size() && lines[j + 1] == lines[j] + 1)
            ++j;
        parts << (j == i ? QString::number(lines[i])
                         : QStringLiteral("%1-%2").arg(lines[i]).arg(lines[j]));
        i = j + 1;
    }
    return parts.join(QLatin1Char(','));
}

RecordCsvOptions MainWindow::CsvOptions() const {
    RecordCsvOptions options;
    options.DecimalSeparator = decimalSeparator_;
    options.RecordNumbers = records_->NumbersByLine();
    options.Quality = labSettings_->Quality();
    options.Records = SelectedRecordLines();
    options.Texts = TranslatedCsvTexts();
    return options;
}

bool MainWindow::PrepareReportContent() {
    const std::size_t count = Lines().empty() ? 0 : Lines().size() - 1;
    ReportDetailsChoice proposed{labSettings_->Details(), RecordListText(SelectedRecordLines())};
    const std::optional<ReportDetailsChoice> choice = dialogs_.AskReportDetails(proposed, count);
    if (!choice)
        return false;
    ReportContent content;
    if (!choice->Skipped) {
        labSettings_->SetDetails(choice->Details);
        content.Details = choice->Details;
    }
    content.Quality = labSettings_->Quality();
    if (!choice->Records.isEmpty()) {
        const RecordSelectionResult chosen =
            ParseRecordSelection(choice->Records.toStdString(), count);
        if (chosen.Error != RecordSelectionResult::Problem::None)
            throw std::invalid_argument(RecordSelectionText::Of(chosen, count).toStdString());
        content.Records = chosen.Records;
    }
    reports_->SetContent(std::move(content));
    return true;
}

}  // namespace leeb
