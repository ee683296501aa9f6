#pragma once
// The archive window's table: the records that match a filter, fetched a page at a time as the
// view scrolls (canFetchMore / fetchMore), so that a million records cost one count and the
// pages in sight. Every query runs on the archive thread; a page arrives later and is added as
// rows. A new filter starts afresh, and the pages of an older one are dropped when they come.

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ArchiveRecord.h"
#include "ArchiveWorker.h"
#include "QualitySettings.h"

namespace leeb {

class ArchiveTableModel : public QAbstractTableModel {
    Q_DECLARE_TR_FUNCTIONS(ArchiveTableModel)

  public:
    // Id: the archive's own (what `archive history` and `amend` take, what the trend names);
    // Number: the tester's record number.
    enum Column { Id, Number, Date, Material, Scale, Count, Mean, Verdict, Part, Lot, Operator };
    static constexpr int ColumnCount = 11;
    static constexpr int PageSize = 200;

    // One record as the table shows it, made on the archive thread.
    struct Row {
        ArchivedRecord Record;
        std::string Material;  // as the code table names it; shown translated
        std::string Scale;     // "强度" for a strength record; shown translated
        QString Mean;
        std::string Verdict;  // as VerdictText names it; shown translated
    };

    // `quality`: the lab's limits the verdict column judges by; `decimalSeparator` for means.
    ArchiveTableModel(ArchiveWorker& worker, QualitySettings quality, char decimalSeparator,
                      QObject* parent = nullptr);

    // The lab's limits for the verdicts of the next query.
    void SetQuality(QualitySettings quality) { quality_ = std::move(quality); }
    // Counts and fetches the first page of the records that match.
    void SetFilter(const ArchiveFilter& filter);
    const ArchiveFilter& Filter() const { return filter_; }
    // All that match, once counted.
    std::optional<int64_t> Total() const { return total_; }
    const Row& RowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    // Told when a count or a page arrives, or a query fails (the message, else empty).
    void SetStateListener(std::function<void(const QString& failure)> listener) {
        listener_ = std::move(listener);
    }
    bool Busy() const { return fetching_ || !total_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  private:
    void Failed(const ArchiveFailure& failure, int generation);

    ArchiveWorker& worker_;
    QualitySettings quality_;
    char decimalSeparator_;
    ArchiveFilter filter_;
    int generation_ = 0;  // of the filter: replies for an older one are dropped
    std::optional<int64_t> total_;
    bool fetching_ = false;
    std::vector<Row> rows_;
    std::function<void(const QString&)> listener_;
    // Replies check it: one that arrives after the model is gone is dropped.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace leeb
