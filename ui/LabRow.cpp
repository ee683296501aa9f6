#include "LabRow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "CodeTableText.h"
#include "LabSettings.h"
#include "LimitInput.h"
#include "LimitInputText.h"
#include "NumberText.h"

namespace leeb {

namespace {

// The boxes and the verdict stand in the panel's top 40 pixels.
constexpr int RowHeight = 40;

QString Number(double value, char decimalSeparator) {
    return QString::fromStdString(FormatGeneral(value, decimalSeparator));
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

LabRow::LabRow(LabSettings& settings, char decimalSeparator, QWidget* detailPanel)
    : QWidget(detailPanel), settings_(&settings), decimalSeparator_(decimalSeparator) {
    setObjectName(QStringLiteral("LabRow"));
    // The panel's top row holds only the record number (16..121); the row beside it is free.
    // The row spans the panel's width, so its controls stand at the panel's own coordinates;
    // it draws nothing itself and leaves the record number visible under it.
    setGeometry(0, 0, detailPanel->width(), RowHeight);
    auto label = [this](const QString& text, QRect geometry) {
        auto* caption = new QLabel(text, this);
        caption->setGeometry(geometry);
        return caption;
    };
    // The row was laid out for the Chinese texts; a longer translation takes the free room to
    // the left of its field instead of being cut.
    WidenLeftward(label(tr("下限"), QRect(136, 16, 25, 13)), 92);
    lowerEdit_ = new QLineEdit(this);
    lowerEdit_->setObjectName(QStringLiteral("LowerLimit"));
    lowerEdit_->setGeometry(QRect(162, 12, 50, 21));
    WidenLeftward(label(tr("上限"), QRect(220, 16, 25, 13)), 214);
    upperEdit_ = new QLineEdit(this);
    upperEdit_->setObjectName(QStringLiteral("UpperLimit"));
    upperEdit_->setGeometry(QRect(246, 12, 50, 21));
    for (QLineEdit* edit : {lowerEdit_, upperEdit_}) {
        edit->setToolTip(tr("本硬度制的公差限，留空为不设"));
        edit->setEnabled(false);  // until a record names its scale
        connect(edit, &QLineEdit::editingFinished, this, [this] { LimitsEdited(); });
    }
    // Two small boxes stacked in the row's 30 pixels.
    excludeBox_ = new QCheckBox(tr("剔除无效"), this);
    excludeBox_->setObjectName(QStringLiteral("ExcludeInvalid"));
    excludeBox_->setGeometry(QRect(304, 8, 76, 15));
    excludeBox_->setToolTip(tr("最大值、最小值、平均值不计无效读数 (888)"));
    excludeBox_->setChecked(settings_->ExcludeInvalid());
    connect(excludeBox_, &QCheckBox::toggled, this, [this](bool on) {
        settings_->SetExcludeInvalid(on);
        Changed();
    });
    eachReadingBox_ = new QCheckBox(tr("逐点判定"), this);
    eachReadingBox_->setObjectName(QStringLiteral("EachReading"));
    eachReadingBox_->setGeometry(QRect(304, 23, 76, 15));
    eachReadingBox_->setToolTip(
        tr("平均值或统计所用的任一读数超出上下限，记录即不合格；不选时只判定平均值"));
    eachReadingBox_->setChecked(settings_->EachReading());
    connect(eachReadingBox_, &QCheckBox::toggled, this, [this](bool on) {
        settings_->SetEachReading(on);
        Changed();
    });
    // A translation wider than the boxes' 76 pixels widens both; the spread beside them gives
    // up that room, and the verdict keeps its place.
    const int boxWidth =
        std::max({76, excludeBox_->sizeHint().width(), eachReadingBox_->sizeHint().width()});
    excludeBox_->resize(boxWidth, excludeBox_->height());
    eachReadingBox_->resize(boxWidth, eachReadingBox_->height());
    const int spreadLeft = std::max(384, 304 + boxWidth + 4);
    spreadLabel_ = label(QString(), QRect(spreadLeft, 16, 524 - spreadLeft, 13));
    spreadLabel_->setObjectName(QStringLiteral("Spread"));
    verdictLabel_ = new QLabel(this);
    verdictLabel_->setObjectName(QStringLiteral("Verdict"));
    verdictLabel_->setGeometry(QRect(528, 8, 81, 30));
    verdictLabel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    verdictLabel_->setAlignment(Qt::AlignCenter);
    verdictLabel_->hide();
    // Reached by a click and by Tab (the window puts them after the five buttons).
    for (QWidget* input : Inputs()) {
        input->setFocusPolicy(Qt::StrongFocus);
    }
}

std::vector<QWidget*> LabRow::Inputs() const {
    return {lowerEdit_, upperEdit_, excludeBox_, eachReadingBox_};
}

void LabRow::UseSettings(LabSettings& settings) {
    settings_ = &settings;
    // Quiet: the one change is told once below, whichever box moved.
    const QSignalBlocker quietExclude(excludeBox_);
    const QSignalBlocker quietEachReading(eachReadingBox_);
    excludeBox_->setChecked(settings_->ExcludeInvalid());
    eachReadingBox_->setChecked(settings_->EachReading());
    Changed();
}

void LabRow::Changed() {
    if (onChange_)
        onChange_();
}

LabRow::Judged LabRow::Show(const RecordView& record, const std::vector<double>& readings) {
    recordShown_ = true;
    shownScaleKey_ = ScaleKey(record.Settings);
    const ToleranceLimits limits = settings_->Limits(shownScaleKey_);
    for (QLineEdit* edit : {lowerEdit_, upperEdit_}) {
        edit->setEnabled(true);
        edit->setStyleSheet(QString());
        edit->setToolTip(tr("本硬度制的公差限，留空为不设"));
    }
    lowerEdit_->setText(limits.Lower ? Number(*limits.Lower, decimalSeparator_) : QString());
    upperEdit_->setText(limits.Upper ? Number(*limits.Upper, decimalSeparator_) : QString());

    const EvaluationOptions options = settings_->Quality().For(record.Settings);
    const RecordEvaluation evaluation = EvaluateRecord(readings, record.OneDecimal, options);
    Judged judged{record, {}, options.Active()};
    if (options.ExcludeInvalid && evaluation.InvalidCount > 0) {
        judged.Shown.Statistics = evaluation.Used;  // Max, Min and mean of the valid readings
    }
    if (judged.Marked)
        judged.Marks = {options.Limits, evaluation.Marks};

    const QString spread =
        tr("标准偏差 %1  极差 %2")
            .arg(QString::fromStdString(evaluation.DeviationText(decimalSeparator_)),
                 QString::fromStdString(evaluation.RangeText(decimalSeparator_)));
    QString used;
    if (options.ExcludeInvalid && evaluation.InvalidCount > 0) {
        used = tr("  有效 %1/%2").arg(evaluation.Used.Count()).arg(record.ImpactCount);
    }
    ShowSpread(spread, used);

    if (evaluation.RecordVerdict == Verdict::NotJudged) {
        verdictLabel_->hide();
        return judged;
    }
    const bool pass = evaluation.RecordVerdict == Verdict::Pass;
    verdictLabel_->setText(CodeTableText(VerdictText(evaluation.RecordVerdict)));
    verdictLabel_->setStyleSheet(evaluation.RecordVerdict == Verdict::NoValidReading ? QString()
                                 : pass ? QStringLiteral("color: #007000; font-weight: bold")
                                        : QStringLiteral("color: #c00000; font-weight: bold"));
    verdictLabel_->show();
    return judged;
}

void LabRow::ShowSpread(const QString& spread, const QString& used) {
    // One line in the middle of the row while it fits; else the count of valid readings goes
    // onto a second line, in the row's full height, rather than being cut.
    const int width = spreadLabel_->width();
    const QString line = spread + used;
    const bool fits =
        used.isEmpty() || spreadLabel_->fontMetrics().horizontalAdvance(line) <= width;
    spreadLabel_->setText(fits ? line : spread + QLatin1Char('\n') + used.trimmed());
    spreadLabel_->setGeometry(spreadLabel_->x(), fits ? 16 : 8, width, fits ? 13 : 30);
}

void LabRow::LimitsEdited() {
    if (!recordShown_)
        return;
    // The locale's separator or '.', never a thousands comma: "1,000" is refused, not read as 1.
    const LimitInput lower = ParseLimitInput(lowerEdit_->text().toStdString(), decimalSeparator_);
    const LimitInput upper = ParseLimitInput(upperEdit_->text().toStdString(), decimalSeparator_);
    const bool lowerWrong = lower.Problem != LimitProblem::None;
    QLineEdit* wrong = lowerWrong                            ? lowerEdit_
                       : upper.Problem != LimitProblem::None ? upperEdit_
                                                             : nullptr;
    QString why;
    if (wrong != nullptr) {
        why = LimitInputText::Of(lowerWrong ? lower : upper, decimalSeparator_);
    } else if (CheckLimits({lower.Value, upper.Value}) == LimitsProblem::LowerAboveUpper) {
        wrong = lowerEdit_;
        why = tr("下限不能大于上限");
    }
    if (wrong != nullptr) {
        // Kept as typed and marked, so the user can correct it; nothing is applied.
        wrong->setStyleSheet(QStringLiteral("color: #c00000"));
        wrong->setToolTip(why);
        return;
    }
    const ToleranceLimits limits{lower.Value, upper.Value};
    if (limits == settings_->Limits(shownScaleKey_))
        return;
    settings_->SetLimits(shownScaleKey_, limits);
    Changed();
}

}  // namespace leeb
