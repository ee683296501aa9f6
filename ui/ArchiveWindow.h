#pragma once
// The archive window: filters over the archive, the records that match in a table that fetches
// pages as it scrolls, and the chosen records handed to the main window (the open button, or a
// double click) as if they came from a file. The trend button hands on the filter in use.

#include <QCoreApplication>
#include <QWidget>
#include <functional>
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
    std::function<void(const std::vector<ArchivedRecord>&)> open_;
    std::function<void(const ArchiveFilter&)> trend_;
    QualitySettings quality_;
};

}  // namespace leeb
