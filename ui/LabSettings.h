#pragma once
// What the window remembers between runs for the lab: the tolerance limits per scale, whether
// invalid readings are left out of the statistics, and the report details. Kept with QSettings
// under "ToleranceLimits/<scale>/Lower|Upper", "Statistics/ExcludeInvalid|EachReading" and
// "ReportDetails/<field>"; nothing is written until the user sets something. The retired
// "Statistics/RejectOutside" (readings outside the limits made invalid) is read as EachReading
// until the box is next set: both ask that no reading outside the limits go unnoticed.

#include <QSettings>
#include <memory>
#include <string>

#include "QualitySettings.h"
#include "ReportContent.h"

namespace leeb {

class LabSettings {
  public:
    // settings: null for the program's own QSettings.
    explicit LabSettings(std::unique_ptr<QSettings> settings = nullptr);

    ToleranceLimits Limits(const std::string& scaleKey) const;
    void SetLimits(const std::string& scaleKey, const ToleranceLimits& limits);
    bool ExcludeInvalid() const;
    void SetExcludeInvalid(bool exclude);
    // Each valid reading judged against its scale's limits, not the mean.
    bool EachReading() const;
    void SetEachReading(bool each);
    // Every remembered scale's limits and the exclusion, as the outputs apply them.
    QualitySettings Quality() const;

    ReportDetails Details() const;
    void SetDetails(const ReportDetails& details);

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace leeb
