#include "ArchiveWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "AmendDetailsDialog.h"
#include "ArchiveFilterBar.h"
#include "ArchiveTableModel.h"
#include "ArchiveTexts.h"
#include "ArchiveWorker.h"

namespace leeb {

ArchiveWindow::ArchiveWindow(ArchiveWorker& worker, const QualitySettings& quality,
                             char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), worker_(worker), quality_(quality) {
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
    amendButton_ = new QPushButton(tr("修改信息…"), this);
    amendButton_->setObjectName(QStringLiteral("AmendDetailsButton"));
    amendButton_->setEnabled(false);
    amendButton_->setToolTip(tr("更正所选记录的零件、批号、操作员等信息 (保留原来的版本)"));
    connect(amendButton_, &QPushButton::clicked, this, [this] { AmendChosen(); });
    askAmendment_ = [this](const std::vector<ArchivedRecord>& records) -> std::optional<Amendment> {
        AmendDetailsDialog dialog(records, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return Amendment{dialog.Change(), dialog.Reason()};
    };
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        openButton_->setEnabled(table_->selectionModel()->hasSelection());
        amendButton_->setEnabled(table_->selectionModel()->hasSelection());
    });
    row->addWidget(amendButton_);
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
    notice_.clear();
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
    state_->setText(notice_.isEmpty() ? tr("%1 条记录").arg(*model_->Total())
                                      : tr("%1 条记录").arg(*model_->Total()) +
                                            QStringLiteral("; ") + notice_);
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

void ArchiveWindow::AmendChosen(std::function<void()> done) {
    const std::vector<ArchivedRecord> records = ChosenRecords();
    if (records.empty() || !askAmendment_)
        return;
    const std::optional<Amendment> amendment = askAmendment_(records);
    if (!amendment || amendment->Change.Empty())
        return;
    std::vector<int64_t> ids;
    for (const ArchivedRecord& record : records)
        ids.push_back(record.Id);
    state_->setText(tr("正在修改…"));
    worker_.Ask<int>(
        [ids, change = amendment->Change,
         reason = amendment->Reason.toStdString()](ArchiveWorker::Access& access) {
            return access.Writing().Amend(ids, change, "", reason);
        },
        [this, done](int amended) {
            Search();
            // Said beside the count once the table has asked again.
            notice_ = tr("已修改 %1 条记录的信息").arg(amended);
            if (done)
                done();
        },
        [this, done](const ArchiveFailure& failure) {
            state_->setText(ArchiveFailureText(failure));
            if (done)
                done();
        });
}

void ArchiveWindow::OpenChosen() {
    std::vector<ArchivedRecord> records = ChosenRecords();
    if (!records.empty() && open_)
        open_(records);
}

}  // namespace leeb
