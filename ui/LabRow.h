#pragma once
// The lab's row in the free top of the detail panel: the tolerance limits of the shown
// record's scale (remembered per scale), the exclusion of invalid readings, whether each
// reading is judged, and the spread and verdict of the record shown. It judges the
// record it is given and says what the panel and the chart are to show of it; it changes
// nothing outside its own controls. With nothing set it shows only the spread.

#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "BarChart.h"
#include "RecordView.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace leeb {

class LabSettings;

class LabRow : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(LabRow)

  public:
    LabRow(LabSettings& settings, char decimalSeparator, QWidget* detailPanel);

    // What the panel and the chart show of a judged record.
    struct Judged {
        RecordView Shown;  // Max, Min and mean of the valid readings when they are excluded
        ChartLimitMarks Marks;
        bool Marked = false;  // false: the chart is plain
    };
    // The record now shown with its readings (display units): the row shows its limits,
    // spread and verdict.
    Judged Show(const RecordView& record, const std::vector<double>& readings);

    // Another store of the settings (tests hand in their own); the check boxes follow it.
    void UseSettings(LabSettings& settings);
    // Called when the limits, the exclusion or the judging of each reading changed.
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // The inputs, in the order Tab should reach them.
    std::vector<QWidget*> Inputs() const;
    QLabel* SpreadLabel() const { return spreadLabel_; }
    QLabel* VerdictLabel() const { return verdictLabel_; }

  private:
    void LimitsEdited();
    void ShowSpread(const QString& spread, const QString& used);
    void Changed();

    LabSettings* settings_;
    char decimalSeparator_;
    std::function<void()> onChange_;
    bool recordShown_ = false;
    std::string shownScaleKey_;
    QLineEdit* lowerEdit_ = nullptr;
    QLineEdit* upperEdit_ = nullptr;
    QCheckBox* excludeBox_ = nullptr;
    QCheckBox* eachReadingBox_ = nullptr;
    QLabel* spreadLabel_ = nullptr;
    QLabel* verdictLabel_ = nullptr;
};

}  // namespace leeb
