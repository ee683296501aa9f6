#include "LabRow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <optional>

#include "CodeTableText.h"
#include "LabSettings.h"
#include "NumberText.h"

namespace leeb {

namespace {

// The boxes and the verdict stand in the panel's top 40 pixels.
constexpr int RowHeight = 40;

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
    rejectBox_ = new QCheckBox(tr("超限无效"), this);
    rejectBox_->setObjectName(QStringLiteral("RejectOutside"));
    rejectBox_->setGeometry(QRect(304, 23, 76, 15));
    rejectBox_->setToolTip(tr("超出上下限的读数也算无效读数"));
    rejectBox_->setChecked(settings_->RejectOutside());
    connect(rejectBox_, &QCheckBox::toggled, this, [this](bool on) {
        settings_->SetRejectOutside(on);
        Changed();
    });
    // A translation wider than the boxes' 76 pixels widens both; the spread beside them gives
    // up that room, and the verdict keeps its place.
    const int boxWidth =
        std::max({76, excludeBox_->sizeHint().width(), rejectBox_->sizeHint().width()});
    excludeBox_->resize(boxWidth, excludeBox_->height());
    rejectBox_->resize(boxWidth, rejectBox_->height());
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
    return {lowerEdit_, upperEdit_, excludeBox_, rejectBox_};
}

void LabRow::UseSettings(LabSettings& settings) {
    settings_ = &settings;
    // Quiet: the one change is told once below, whichever box moved.
    const QSignalBlocker quietExclude(excludeBox_);
    const QSignalBlocker quietReject(rejectBox_);
    excludeBox_->setChecked(settings_->ExcludeInvalid());
    rejectBox_->setChecked(settings_->RejectOutside());
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

    if (evaluation.MeanVerdict == Verdict::NotJudged) {
        verdictLabel_->hide();
        return judged;
    }
    const bool pass = evaluation.MeanVerdict == Verdict::Pass;
    verdictLabel_->setText(CodeTableText(VerdictText(evaluation.MeanVerdict)));
    verdictLabel_->setStyleSheet(evaluation.MeanVerdict == Verdict::NoMean ? QString()
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
    if (limits == settings_->Limits(shownScaleKey_))
        return;
    settings_->SetLimits(shownScaleKey_, limits);
    Changed();
}

}  // namespace leeb
