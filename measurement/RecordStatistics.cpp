#include "RecordStatistics.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "NumberText.h"

namespace leeb {

namespace {

// Readings are at most five characters wide; anything near this bound is not a reading, and
// keeping below it means the integer sum cannot overflow even for billions of readings.
constexpr double MaxReadingUnits = 1e10;  // a display value of 1,000,000

const std::string NoValue = "-";

}  // namespace

RecordStatistics::RecordStatistics(bool oneDecimal) : oneDecimal_(oneDecimal) {}

void RecordStatistics::Add(double displayValue) {
    // The sum is kept in integer units so that the mean is an exact quotient: 45.1 and 45.2
    // sum to 903000 units, not to a double just off 90.3. The units are fine enough to hold
    // every reading as read: 450.6 stays 450.6 and is not rounded to the scale first.
    const double units = RoundHalfEven(displayValue * static_cast<double>(UnitsPerValue));
    if (!std::isfinite(units) || std::fabs(units) > MaxReadingUnits) {
        throw std::out_of_range("reading out of range");
    }
    if (count_ == 0 || displayValue > max_) {
        max_ = displayValue;
    }
    if (count_ == 0 || displayValue < min_) {
        min_ = displayValue;
    }
    sumUnits_ += static_cast<int64_t>(units);
    ++count_;
}

int64_t RecordStatistics::ShownMean() const {
    return RoundHalfEvenQuotient(sumUnits_, UnitsPerShown() * count_);
}

double RecordStatistics::Mean() const {
    if (count_ == 0) {
        return 0.0;
    }
    return static_cast<double>(sumUnits_) / static_cast<double>(UnitsPerValue * count_);
}

double RecordStatistics::RoundedMean() const {
    if (count_ == 0) {
        return 0.0;
    }
    return static_cast<double>(ShownMean()) / (oneDecimal_ ? 10.0 : 1.0);
}

std::string RecordStatistics::MaxText(char decimalSeparator) const {
    return count_ == 0 ? NoValue : FormatGeneral(max_, decimalSeparator);
}

std::string RecordStatistics::MinText(char decimalSeparator) const {
    return count_ == 0 ? NoValue : FormatGeneral(min_, decimalSeparator);
}

std::string RecordStatistics::PanelMeanText(char decimalSeparator) const {
    if (count_ == 0) {
        return NoValue;
    }
    if (oneDecimal_) {
        return FormatGeneral(RoundedMean(), decimalSeparator);
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%4" PRId64, ShownMean());
    return buffer;
}

std::string RecordStatistics::ReportMeanText(char decimalSeparator) const {
    return count_ == 0 ? NoValue : FormatGeneral(RoundedMean(), decimalSeparator);
}

}  // namespace leeb
