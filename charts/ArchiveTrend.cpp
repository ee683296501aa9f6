#include "ArchiveTrend.h"

#include <QCoreApplication>
#include <optional>
#include <string>

#include "CodeTableText.h"

namespace leeb {

namespace {

QString Text(const std::optional<std::string>& value) {
    return QString::fromStdString(value.value_or(std::string()));
}

}  // namespace

ArchiveTrend ArchiveTrendOf(Archive& archive, const ArchiveFilter& filter,
                            const QualitySettings& quality) {
    ArchiveTrend trend;
    trend.Series =
        BuildTrendSeries(archive.TrendRecordsByDate(filter), quality);
    trend.Limits = quality.For(trend.Series.Kind.Settings()).Limits;
    trend.Figures = ComputeTrendFigures(trend.Series.Values(), trend.Limits);
    return trend;
}

QStringList ArchiveFilterTexts(const ArchiveFilter& filter) {
    QStringList texts;
    if (filter.From || filter.To) {
        texts << QCoreApplication::translate("ArchiveTrend", "日期 %1 至 %2")
                     .arg(filter.From ? Text(filter.From) : QStringLiteral("…"),
                          filter.To ? Text(filter.To) : QStringLiteral("…"));
    }
    if (filter.Material) {
        texts << QCoreApplication::translate("ArchiveTrend", "材料 %1")
                     .arg(CodeTableText(*filter.Material));
    }
    if (filter.Scale) {
        texts << QCoreApplication::translate("ArchiveTrend", "硬度制 %1").arg(Text(filter.Scale));
    }
    if (filter.Device) {
        texts << QCoreApplication::translate("ArchiveTrend", "冲击装置 %1").arg(Text(filter.Device));
    }
    if (filter.Part) {
        texts << QCoreApplication::translate("ArchiveTrend", "零件 %1").arg(Text(filter.Part));
    }
    if (filter.Lot) {
        texts << QCoreApplication::translate("ArchiveTrend", "批号 %1").arg(Text(filter.Lot));
    }
    if (filter.Operator) {
        texts << QCoreApplication::translate("ArchiveTrend", "操作员 %1").arg(Text(filter.Operator));
    }
    if (filter.Verdict) {
        switch (*filter.Verdict) {
            case ArchiveVerdict::Pass:
                texts << QCoreApplication::translate("ArchiveTrend", "判定 合格");
                break;
            case ArchiveVerdict::Fail:
                texts << QCoreApplication::translate("ArchiveTrend", "判定 不合格");
                break;
            case ArchiveVerdict::NoLimits:
                texts << QCoreApplication::translate("ArchiveTrend", "判定 未设限");
                break;
        }
    }
    return texts;
}

}  // namespace leeb
