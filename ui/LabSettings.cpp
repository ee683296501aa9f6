#include "LabSettings.h"

#include <QStringList>
#include <cmath>

namespace leeb {

namespace {

const QString LimitsGroup = QStringLiteral("ToleranceLimits");

std::optional<double> ReadLimit(const QSettings& settings, const QString& key) {
    const QVariant value = settings.value(key);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || !ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

void WriteLimit(QSettings& settings, const QString& key, const std::optional<double>& limit) {
    if (limit)
        settings.setValue(key, *limit);
    else
        settings.remove(key);
}

struct DetailKey {
    const char* Key;
    std::string ReportDetails::*Field;
};

const DetailKey DetailKeys[] = {
    {"Company", &ReportDetails::Company},   {"ReportNumber", &ReportDetails::ReportNumber},
    {"Part", &ReportDetails::Part},         {"Lot", &ReportDetails::Lot},
    {"Operator", &ReportDetails::Operator}, {"Instrument", &ReportDetails::Instrument},
    {"Standard", &ReportDetails::Standard}, {"Remarks", &ReportDetails::Remarks},
};

}  // namespace

LabSettings::LabSettings(std::unique_ptr<QSettings> settings)
    : settings_(settings ? std::move(settings) : std::make_unique<QSettings>()) {}

ToleranceLimits LabSettings::Limits(const std::string& scaleKey) const {
    const QString group = LimitsGroup + '/' + QString::fromStdString(scaleKey) + '/';
    ToleranceLimits limits{ReadLimit(*settings_, group + QStringLiteral("Lower")),
                           ReadLimit(*settings_, group + QStringLiteral("Upper"))};
    // Settings edited by hand into limits that judge nothing count as none.
    if (CheckLimits(limits) != LimitsProblem::None)
        return {};
    return limits;
}

void LabSettings::SetLimits(const std::string& scaleKey, const ToleranceLimits& limits) {
    const QString group = LimitsGroup + '/' + QString::fromStdString(scaleKey) + '/';
    WriteLimit(*settings_, group + QStringLiteral("Lower"), limits.Lower);
    WriteLimit(*settings_, group + QStringLiteral("Upper"), limits.Upper);
}

bool LabSettings::ExcludeInvalid() const {
    return settings_->value(QStringLiteral("Statistics/ExcludeInvalid"), false).toBool();
}

void LabSettings::SetExcludeInvalid(bool exclude) {
    if (exclude)
        settings_->setValue(QStringLiteral("Statistics/ExcludeInvalid"), true);
    else
        settings_->remove(QStringLiteral("Statistics/ExcludeInvalid"));
}

namespace {

const QString EachReadingKey = QStringLiteral("Statistics/EachReading");
const QString RetiredRejectOutsideKey = QStringLiteral("Statistics/RejectOutside");

}  // namespace

bool LabSettings::EachReading() const {
    if (settings_->contains(EachReadingKey))
        return settings_->value(EachReadingKey).toBool();
    return settings_->value(RetiredRejectOutsideKey, false).toBool();
}

void LabSettings::SetEachReading(bool each) {
    settings_->remove(RetiredRejectOutsideKey);
    if (each)
        settings_->setValue(EachReadingKey, true);
    else
        settings_->remove(EachReadingKey);
}

QualitySettings LabSettings::Quality() const {
    QualitySettings quality;
    quality.ExcludeInvalid = ExcludeInvalid();
    quality.EachReading = EachReading();
    settings_->beginGroup(LimitsGroup);
    const QStringList scales = settings_->childGroups();
    settings_->endGroup();
    for (const QString& scale : scales) {
        const ToleranceLimits limits = Limits(scale.toStdString());
        if (limits.Any())
            quality.PerScale[scale.toStdString()] = limits;
    }
    return quality;
}

ReportDetails LabSettings::Details() const {
    ReportDetails details;
    for (const DetailKey& key : DetailKeys) {
        details.*key.Field =
            settings_->value(QStringLiteral("ReportDetails/") + key.Key).toString().toStdString();
    }
    details.Signatures = settings_->value(QStringLiteral("ReportDetails/Signatures")).toBool();
    return details;
}

void LabSettings::SetDetails(const ReportDetails& details) {
    for (const DetailKey& key : DetailKeys) {
        settings_->setValue(QStringLiteral("ReportDetails/") + key.Key,
                            QString::fromStdString(details.*key.Field));
    }
    settings_->setValue(QStringLiteral("ReportDetails/Signatures"), details.Signatures);
}

}  // namespace leeb
