// The lab's additions to the window: tolerance limits entered in the free top row of the
// detail panel (remembered per scale), the exclusion of invalid readings, the spread and the
// verdict of the record shown, the marks in the tree, and what the report and the CSV export
// take of them. With nothing set the window shows what it always showed.

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

#include "BarChart.h"
#include "CodeTableText.h"
#include "CsvText.h"
#include "DetailPanel.h"
#include "LabSettings.h"
#include "NumberText.h"
#include "RecordSelection.h"
#include "RecordSelectionText.h"
#include "RecordTreeModel.h"
#include "ReportSystem.h"
#include "MainWindow.h"

namespace leeb {

namespace {

QString Number(double value, char decimalSeparator) {
    return QString::fromStdString(FormatGeneral(value, decimalSeparator));
}

// A limit as typed: empty for none; '.' or the locale's separator before the decimals.
std::optional<std::optional<double>> ParseLimitText(const QString& typed) {
    QString text = typed.trimmed();
    if (text.isEmpty())
        return std::optional<double>{};
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return std::optional<double>{value};
}

// A caption whose text is wider than its box grows to the left, as far as `leftmost`; its
// right edge stays beside its field.
void WidenLeftward(QLabel* caption, int leftmost) {
    const int needed = caption->sizeHint().width();
    if (needed <= caption->width())
        return;
    const QRect box = caption->geometry();
    const int left = std::max(leftmost, box.right() + 1 - needed);
    caption->setGeometry(left, box.y(), box.right() + 1 - left, box.height());
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace

void MainWindow::BuildQualityControls() {
    if (!labSettings_)
        labSettings_ = std::make_unique<LabSettings>();
    // Panel5's top row holds only the record number (16..121); the row beside it is free.
    auto label = [this](const QString& text, QRect geometry) {
        auto* caption = new QLabel(text, detailPanel_);
        caption->setGeometry(geometry);
        return caption;
    };
    // The row was laid out for the Chinese texts; a longer translation takes the free room to
    // the left of its field instead of being cut.
    WidenLeftward(label(tr("下限"), {136, 16, 25, 13}), 92);
    lowerEdit_ = new QLineEdit(detailPanel_);
    lowerEdit_->setObjectName(QStringLiteral("LowerLimit"));
    lowerEdit_->setGeometry(162, 12, 50, 21);
    WidenLeftward(label(tr("上限"), {220, 16, 25, 13}), 214);
    upperEdit_ = new QLineEdit(detailPanel_);
    upperEdit_->setObjectName(QStringLiteral("UpperLimit"));
    upperEdit_->setGeometry(246, 12, 50, 21);
    for (QLineEdit* edit : {lowerEdit_, upperEdit_}) {
        edit->setToolTip(tr("本硬度制的公差限，留空为不设"));
        edit->setEnabled(false);  // until a record names its scale
        connect(edit, &QLineEdit::editingFinished, this, [this] { LimitsEdited(); });
    }
    // Two small boxes stacked in the row's 30 pixels.
    excludeBox_ = new QCheckBox(tr("剔除无效"), detailPanel_);
    excludeBox_->setObjectName(QStringLiteral("ExcludeInvalid"));
    excludeBox_->setGeometry(304, 8, 76, 15);
    excludeBox_->setToolTip(tr("最大值、最小值、平均值不计无效读数 (888)"));
    excludeBox_->setChecked(labSettings_->ExcludeInvalid());
    connect(excludeBox_, &QCheckBox::toggled, this, [this](bool on) {
        labSettings_->SetExcludeInvalid(on);
        QualityChanged();
    });
    rejectBox_ = new QCheckBox(tr("超限无效"), detailPanel_);
    rejectBox_->setObjectName(QStringLiteral("RejectOutside"));
    rejectBox_->setGeometry(304, 23, 76, 15);
    rejectBox_->setToolTip(tr("超出上下限的读数也算无效读数"));
    rejectBox_->setChecked(labSettings_->RejectOutside());
    connect(rejectBox_, &QCheckBox::toggled, this, [this](bool on) {
        labSettings_->SetRejectOutside(on);
        QualityChanged();
    });
    // A translation wider than the boxes' 76 pixels widens both; the spread beside them gives
    // up that room, and the verdict keeps its place.
    const int boxWidth =
        std::max({76, excludeBox_->sizeHint().width(), rejectBox_->sizeHint().width()});
    excludeBox_->resize(boxWidth, excludeBox_->height());
    rejectBox_->resize(boxWidth, rejectBox_->height());
    const int spreadLeft = std::max(384, 304 + boxWidth + 4);
    spreadLabel_ = label(QString(), {spreadLeft, 16, 524 - spreadLeft, 13});
    spreadLabel_->setObjectName(QStringLiteral("Spread"));
    verdictLabel_ = new QLabel(detailPanel_);
    verdictLabel_->setObjectName(QStringLiteral("Verdict"));
    verdictLabel_->setGeometry(528, 8, 81, 30);
    verdictLabel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    verdictLabel_->setAlignment(Qt::AlignCenter);
    verdictLabel_->hide();
    // Taken by a click: Tab keeps going round the tree and the five buttons only.
    for (QWidget* input :
         std::initializer_list<QWidget*>{lowerEdit_, upperEdit_, excludeBox_, rejectBox_}) {
        input->setFocusPolicy(Qt::ClickFocus);
    }
    model_->SetQuality(labSettings_->Quality());
}

void MainWindow::ShowSpread(const QString& spread, const QString& used) {
    // One line in the middle of the row while it fits; else the count of valid readings goes
    // onto a second line, in the row's full height, rather than being cut.
    const int width = spreadLabel_->width();
    const QString line = spread + used;
    const bool fits =
        used.isEmpty() || spreadLabel_->fontMetrics().horizontalAdvance(line) <= width;
    spreadLabel_->setText(fits ? line : spread + QLatin1Char('\n') + used.trimmed());
    spreadLabel_->setGeometry(spreadLabel_->x(), fits ? 16 : 8, width, fits ? 13 : 30);
}

void MainWindow::UseLabSettings(std::unique_ptr<LabSettings> settings) {
    labSettings_ = std::move(settings);
    excludeBox_->setChecked(labSettings_->ExcludeInvalid());
    rejectBox_->setChecked(labSettings_->RejectOutside());
    QualityChanged();
}

void MainWindow::ShowRecordWithQuality(const RecordView& record) {
    shownView_ = record;
    shownScaleKey_ = ScaleKey(record.Settings);
    const ToleranceLimits limits = labSettings_->Limits(shownScaleKey_);
    for (QLineEdit* edit : {lowerEdit_, upperEdit_}) {
        edit->setEnabled(true);
        edit->setStyleSheet(QString());
    }
    lowerEdit_->setText(limits.Lower ? Number(*limits.Lower, decimalSeparator_) : QString());
    upperEdit_->setText(limits.Upper ? Number(*limits.Upper, decimalSeparator_) : QString());

    EvaluationOptions options = labSettings_->Quality().For(record.Settings);
    const RecordEvaluation evaluation = EvaluateRecord(shownReadings_, record.OneDecimal, options);
    RecordView shown = record;
    if (options.ExcludeInvalid && evaluation.InvalidCount > 0) {
        shown.Statistics = evaluation.Used;  // Max, Min and mean of the valid readings
    }
    detailPanel_->ShowRecordDetails(shown);
    if (options.Active()) {
        chart_->SetLimitMarks({options.Limits, evaluation.Marks});
    } else if (!chart_->LimitMarks().Marks.empty() || chart_->LimitMarks().Limits.Any()) {
        chart_->SetLimitMarks({});
    }

    const QString spread =
        tr("标准偏差 %1  极差 %2")
            .arg(QString::fromStdString(evaluation.DeviationText(decimalSeparator_)),
                 QString::fromStdString(evaluation.RangeText(decimalSeparator_)));
    QString used;
    if (options.ExcludeInvalid && evaluation.InvalidCount > 0) {
        used = tr("  有效 %1/%2").arg(evaluation.Used.Count()).arg(record.ImpactCount);
    }
    ShowSpread(spread, used);

    if (evaluation.MeanVerdict == Verdict::NotJudged) {
        verdictLabel_->hide();
        return;
    }
    const bool pass = evaluation.MeanVerdict == Verdict::Pass;
    verdictLabel_->setText(CodeTableText(VerdictText(evaluation.MeanVerdict)));
    verdictLabel_->setStyleSheet(evaluation.MeanVerdict == Verdict::NoMean ? QString()
                                 : pass ? QStringLiteral("color: #007000; font-weight: bold")
                                        : QStringLiteral("color: #c00000; font-weight: bold"));
    verdictLabel_->show();
}

void MainWindow::LimitsEdited() {
    if (!shownView_)
        return;
    const auto lower = ParseLimitText(lowerEdit_->text());
    const auto upper = ParseLimitText(upperEdit_->text());
    QLineEdit* wrong = !lower ? lowerEdit_ : !upper ? upperEdit_ : nullptr;
    if (wrong == nullptr && CheckLimits({*lower, *upper}) == LimitsProblem::LowerAboveUpper) {
        wrong = lowerEdit_;
    }
    if (wrong != nullptr) {
        // Kept as typed and marked, so the user can correct it; nothing is applied.
        wrong->setStyleSheet(QStringLiteral("color: #c00000"));
        wrong->setToolTip(!lower || !upper ? tr("限值须为数值，如 450 或 45.5")
                                           : tr("下限不能大于上限"));
        return;
    }
    const ToleranceLimits limits{*lower, *upper};
    if (limits == labSettings_->Limits(shownScaleKey_))
        return;
    labSettings_->SetLimits(shownScaleKey_, limits);
    QualityChanged();
}

void MainWindow::QualityChanged() {
    model_->SetQuality(labSettings_->Quality());
    if (shownView_)
        ShowRecordWithQuality(*shownView_);
}

std::vector<std::size_t> MainWindow::SelectedRecordLines() const {
    std::vector<std::size_t> chosen;
    for (const QModelIndex& row : recordTree_->selectionModel()->selectedRows()) {
        const std::optional<RecordTreeModel::RecordEntry> record = model_->RecordAt(row);
        if (record && record->LineIndex > 0 &&
            static_cast<std::size_t>(record->LineIndex) < recordLines_.size()) {
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
    options.Quality = labSettings_->Quality();
    options.Records = SelectedRecordLines();
    options.Texts = TranslatedCsvTexts();
    return options;
}

bool MainWindow::PrepareReportContent() {
    const std::size_t count = recordLines_.empty() ? 0 : recordLines_.size() - 1;
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
