#include "ArchiveWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "ArchiveFilterBar.h"
#include "ArchiveTableModel.h"

namespace leeb {

ArchiveWindow::ArchiveWindow(ArchiveWorker& worker, const QualitySettings& quality,
                             char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), quality_(quality) {
    setObjectName(QStringLiteral("ArchiveWindow"));
    setWindowTitle(tr("测量档案"));
    resize(900, 560);

    auto* layout = new QVBoxLayout(this);
    filters_ = new ArchiveFilterBar(this);
    filters_->SetSearchListener([this] { Search(); });
    layout->addWidget(filters_);

    model_ = new ArchiveTableModel(worker, quality, decimalSeparator, this);
    model_->SetStateListener([this](const QString& failure) { ShowState(failure); });
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("ArchiveTable"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Fixed row heights and columns sized once: nothing is measured over every row.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    connect(table_, &QTableView::doubleClicked, this, [this] { OpenChosen(); });
    layout->addWidget(table_, 1);

    auto* row = new QHBoxLayout;
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("ArchiveState"));
    row->addWidget(state_, 1);
    auto* trend = new QPushButton(tr("趋势…"), this);
    trend->setObjectName(QStringLiteral("TrendButton"));
    connect(trend, &QPushButton::clicked, this, [this] {
        if (trend_)
            trend_(model_->Filter());
    });
    openButton_ = new QPushButton(tr("打开"), this);
    openButton_->setObjectName(QStringLiteral("OpenArchivedButton"));
    openButton_->setEnabled(false);
    connect(openButton_, &QPushButton::clicked, this, [this] { OpenChosen(); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        openButton_->setEnabled(table_->selectionModel()->hasSelection());
    });
    row->addWidget(trend);
    row->addWidget(openButton_);
    layout->addLayout(row);
}

ArchiveWindow::~ArchiveWindow() = default;

void ArchiveWindow::SetQuality(const QualitySettings& quality) {
    quality_ = quality;
    model_->SetQuality(quality);
}

void ArchiveWindow::Search() {
    state_->setText(tr("正在查找…"));
    ArchiveFilter filter = filters_->Filter();
    // The verdict filter judges as the verdict column does: by the lab's limits.
    filter.Quality = quality_;
    model_->SetFilter(filter);
}

void ArchiveWindow::ShowState(const QString& failure) {
    if (!failure.isEmpty()) {
        state_->setText(failure);
        return;
    }
    if (!model_->Total())
        return;
    state_->setText(tr("%1 条记录").arg(*model_->Total()));
    // Sized by the first page only, never by every row.
    if (model_->rowCount() > 0 && model_->rowCount() <= ArchiveTableModel::PageSize)
        table_->resizeColumnsToContents();
}

std::vector<ArchivedRecord> ArchiveWindow::ChosenRecords() const {
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<ArchivedRecord> records;
    records.reserve(rows.size());
    for (int row : rows)
        records.push_back(model_->RowAt(row).Record);
    return records;
}

void ArchiveWindow::OpenChosen() {
    std::vector<ArchivedRecord> records = ChosenRecords();
    if (!records.empty() && open_)
        open_(records);
}

}  // namespace leeb
