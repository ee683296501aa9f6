#include "TrendView.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "TrendText.h"

namespace leeb {

namespace {
constexpr int FigureRows = 8;
}  // namespace

TrendView::TrendView(QWidget* parent)
    : QWidget(parent),
      charts_(TrendCharts::Create(this)),
      figures_(new QTableWidget(FigureRows, 1, this)),
      message_(new QLabel(this)),
      notes_(new QLabel(this)),
      signals_(new QLabel(this)) {
    setObjectName(QStringLiteral("TrendView"));
    figures_->setObjectName(QStringLiteral("TrendFigures"));
    figures_->horizontalHeader()->setVisible(false);
    figures_->horizontalHeader()->setStretchLastSection(true);
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->setSelectionMode(QAbstractItemView::NoSelection);
    figures_->setFocusPolicy(Qt::NoFocus);
    figures_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    message_->setObjectName(QStringLiteral("TrendMessage"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    for (QLabel* label : {notes_, signals_}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    signals_->setStyleSheet(QStringLiteral("color: #b00000;"));

    auto* side = new QVBoxLayout;
    side->addWidget(charts_.Histogram, 3);
    side->addWidget(figures_, 3);
    side->addWidget(notes_);
    side->addWidget(signals_, 1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(message_, 0, 0, 1, 2);
    grid->addWidget(charts_.Individuals, 1, 0);
    grid->addWidget(charts_.MovingRanges, 2, 0);
    grid->addLayout(side, 1, 1, 2, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(2, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    ShowMessage(TooFewPointsMessage(0));
}

void TrendView::SetPointClickHandler(std::function<void(int64_t)> handler) {
    charts_.Individuals->SetPointClickHandler(handler);
    charts_.MovingRanges->SetPointClickHandler(std::move(handler));
}

void TrendView::ShowRecords(std::vector<TrendRecord> records, const QualitySettings& quality) {
    TrendSeries series;
    try {
        series = BuildTrendSeries(std::move(records), quality);
    } catch (const MixedTrendKinds& refusal) {
        ShowMessage(MixedKindsMessage(refusal));
        return;
    }
    const ToleranceLimits limits = quality.For(series.Kind.Settings()).Limits;
    Show(series, ComputeTrendFigures(series.Values(), limits), limits);
    if (!series.WithoutValue.empty()) {
        notes_->setText((notes_->text().isEmpty() ? QString() : notes_->text() + '\n') +
                        WithoutValueNote(series.WithoutValue.size()));
    }
}

void TrendView::ShowMessage(const QString& message) {
    shownSeries_ = {};
    shownFigures_ = {};
    shownLimits_ = {};
    charts_.Show(TrendSeries{}, TrendFigures{}, {});
    figures_->clearContents();
    message_->setText(message);
    message_->setVisible(true);
    notes_->clear();
    signals_->clear();
}

void TrendView::Show(const TrendSeries& series, const TrendFigures& figures,
                     const ToleranceLimits& limits) {
    if (!figures.Charted()) {
        ShowMessage(TooFewPointsMessage(figures.N));
        return;
    }
    shownSeries_ = series;
    shownFigures_ = figures;
    shownLimits_ = limits;
    message_->clear();
    message_->setVisible(false);
    charts_.Show(series, figures, limits);
    const auto rows = TrendFigureRows(figures, TrendNumberFormat::For(series.Kind));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int at = static_cast<int>(row);
        figures_->setVerticalHeaderItem(at, new QTableWidgetItem(rows[row].first));
        auto* item = new QTableWidgetItem(rows[row].second);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures_->setItem(at, 0, item);
    }
    notes_->setText(QStringLiteral("%1\n%2").arg(TrendKindText(series.Kind),
                                                 figures.RoughEstimate() ? RoughEstimateNote()
                                                                         : QString()).trimmed());
    signals_->setText(TrendSignalText(series, figures));
}

}  // namespace leeb
