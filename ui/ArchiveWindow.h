#pragma once
// The archive window: filters over the archive, the records that match in a table that fetches
// pages as it scrolls, and the chosen records handed to the main window (the open button, or a
// double click) as if they came from a file. The trend button hands on the filter in use.

#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "ArchiveRecord.h"
#include "QualitySettings.h"

class QLabel;
class QPushButton;
class QTableView;

namespace leeb {

class ArchiveFilterBar;
class ArchiveTableModel;
class ArchiveWorker;

class ArchiveWindow : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(ArchiveWindow)

  public:
    ArchiveWindow(ArchiveWorker& worker, const QualitySettings& quality, char decimalSeparator,
                  QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // Where chosen records go (the main window's tree, chart and panel).
    void SetOpenListener(std::function<void(const std::vector<ArchivedRecord>&)> listener) {
        open_ = std::move(listener);
    }
    // Where the trend button hands the filter in use.
    void SetTrendListener(std::function<void(const ArchiveFilter&)> listener) {
        trend_ = std::move(listener);
    }

    // What "修改信息…" asks of the user for the chosen records: the change and its reason, or
    // nothing when the user cancels. By default AmendDetailsDialog.
    struct Amendment {
        ArchiveDetailsChange Change;
        QString Reason;
    };
    using AmendmentAsker =
        std::function<std::optional<Amendment>(const std::vector<ArchivedRecord>&)>;
    void SetAmendmentAsker(AmendmentAsker asker) { askAmendment_ = std::move(asker); }
    // Asks for an amendment of the chosen records and hands it to the archive; the table shows
    // the new details once it is done. `done` (for checks) runs after the table asked again.
    void AmendChosen(std::function<void()> done = {});

    // The lab's limits the verdict column judges by, from the next query on.
    void SetQuality(const QualitySettings& quality);
    // Runs the filters' query again.
    void Search();
    // The records of the selected rows, in table order.
    std::vector<ArchivedRecord> ChosenRecords() const;
    void OpenChosen();

    ArchiveFilterBar& Filters() { return *filters_; }
    ArchiveTableModel& Model() { return *model_; }
    QTableView* Table() const { return table_; }
    QLabel* StateText() const { return state_; }

  private:
    void ShowState(const QString& failure);

    ArchiveFilterBar* filters_ = nullptr;
    ArchiveTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* state_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* amendButton_ = nullptr;
    ArchiveWorker& worker_;
    AmendmentAsker askAmendment_;
    QString notice_;
    std::function<void(const std::vector<ArchivedRecord>&)> open_;
    std::function<void(const ArchiveFilter&)> trend_;
    QualitySettings quality_;
};

}  // namespace leeb
