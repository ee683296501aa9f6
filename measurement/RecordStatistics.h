#pragma once
// Maximum, minimum and mean of a record's readings, with the texts the detail panel and the
// report show. The mean is exact: the readings are summed as read, in ten-thousandths (a
// reading field of five characters has at most four decimals), and the sum is divided by the
// count and rounded half to even, so panel and report always agree.

#include <cstdint>
#include <string>

namespace leeb {

class RecordStatistics {
  public:
    explicit RecordStatistics(bool oneDecimal);

    // Adds one reading in display units (45.3 on a one-decimal scale, 450 otherwise).
    void Add(double displayValue);

    bool OneDecimal() const { return oneDecimal_; }
    int Count() const { return count_; }
    double Max() const { return max_; }  // true maximum; 0 when empty
    double Min() const { return min_; }  // true minimum; 0 when empty
    double Sum() const { return static_cast<double>(sumUnits_) / UnitsPerValue; }
    // The exact mean of the readings as read, unrounded; 0 when empty.
    double Mean() const;
    // Mean rounded to a tenth (one-decimal) or a whole number, halves to even; 0 when empty.
    double RoundedMean() const;

    // Texts; each is "-" for a record without readings.
    std::string MaxText(char decimalSeparator) const;
    std::string MinText(char decimalSeparator) const;
    std::string PanelMeanText(char decimalSeparator) const;   // whole numbers as "%4d"
    std::string ReportMeanText(char decimalSeparator) const;  // whole numbers plain

  private:
    static constexpr int64_t UnitsPerValue = 10000;
    // Units of the shown mean: a tenth on a one-decimal scale, else a whole value.
    int64_t UnitsPerShown() const { return oneDecimal_ ? UnitsPerValue / 10 : UnitsPerValue; }
    int64_t ShownMean() const;  // the mean in shown units, rounded half to even

    bool oneDecimal_;
    int count_ = 0;
    double max_ = 0.0;
    double min_ = 0.0;
    int64_t sumUnits_ = 0;
};

}  // namespace leeb
