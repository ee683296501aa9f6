#include "TrendText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include "CodeTableText.h"

namespace leeb {

namespace {


QString Fixed(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString PointList(const TrendSeries& series, const std::vector<std::size_t>& indices,
                  std::size_t shown) {
    QStringList items;
    for (std::size_t i = 0; i < indices.size() && i < shown; ++i) {
        const TrendPoint& point = series.Points[indices[i]];
        const QString date = QString::fromStdString(point.DateText);
        // A record from a file has no tester number (0): its archive id finds it instead.
        if (point.Number > 0) {
            items << QCoreApplication::translate("TrendText", "记录 %1 (%2)")
                         .arg(point.Number)
                         .arg(date);
        } else {
            items << QCoreApplication::translate("TrendText", "档案记录 #%1 (%2)")
                         .arg(point.Id)
                         .arg(date);
        }
    }
    if (indices.size() > shown) {
        items << QCoreApplication::translate("TrendText", "另 %1 个").arg(indices.size() - shown);
    }
    return items.join(QStringLiteral(", "));
}

}  // namespace

QString TrendKindText(const TrendKind& kind) {
    const DecodedSettings settings = kind.Settings();
    QString scale = QString::fromStdString(ScaleText(settings)).trimmed();
    if (settings.StrengthMode != 0) {
        scale = QStringLiteral("σb");
    }
    return QStringLiteral("%1 %2 %3")
        .arg(CodeTableText(MaterialText(settings)), scale,
             QString::fromStdString(ImpactDeviceText(settings)));
}

QString MixedKindsMessage(const MixedTrendKinds& refusal) {
    QStringList kinds;
    for (const TrendKind& kind : refusal.Kinds()) {
        kinds << TrendKindText(kind);
    }
    return QCoreApplication::translate("TrendText", "所选记录的硬度制、材料或冲击装置不同, 不能画在一张趋势图上; 其中有: %1。")
        .arg(kinds.join(QStringLiteral("; ")));
}

QString TooFewPointsMessage(std::size_t points) {
    return QCoreApplication::translate("TrendText", "趋势图至少需要 2 个点, 所选记录只有 %1 个。").arg(points);
}

QString RoughEstimateNote() {
    return QCoreApplication::translate("TrendText", "点数少于 25: 能力指数只是粗略估计。");
}

QString WithoutValueNote(std::size_t records) {
    return QCoreApplication::translate("TrendText", "%1 条记录没有可取平均的读数, 未画入。").arg(records);
}

TrendNumberFormat TrendNumberFormat::For(const TrendKind& kind) {
    return TrendNumberFormat{OneDecimalScale(kind.Settings()) ? 2 : 1};
}

QString TrendNumberFormat::Value(const std::optional<double>& value) const {
    return value ? Fixed(*value, ValueDecimals) : QStringLiteral("-");
}

QString TrendNumberFormat::Deviation(const std::optional<double>& value) const {
    return value ? Fixed(*value, ValueDecimals + 1) : QStringLiteral("-");
}

QString TrendNumberFormat::Index(const std::optional<double>& value) {
    return value ? Fixed(*value, 2) : QStringLiteral("-");
}

std::vector<std::pair<QString, QString>> TrendFigureRows(const TrendFigures& figures,
                                                         const TrendNumberFormat& format) {
    return {
        {QCoreApplication::translate("TrendText", "点数 n"), QString::number(figures.N)},
        {QCoreApplication::translate("TrendText", "均值 x̄"), format.Value(figures.Mean)},
        {QCoreApplication::translate("TrendText", "组内 σ"), format.Deviation(figures.SigmaWithin)},
        {QCoreApplication::translate("TrendText", "整体 σ"), format.Deviation(figures.SigmaOverall)},
        {QStringLiteral("Cp"), TrendNumberFormat::Index(figures.Cp)},
        {QStringLiteral("Cpk"), TrendNumberFormat::Index(figures.Cpk)},
        {QStringLiteral("Pp"), TrendNumberFormat::Index(figures.Pp)},
        {QStringLiteral("Ppk"), TrendNumberFormat::Index(figures.Ppk)},
    };
}

QString TrendSignalText(const TrendSeries& series, const TrendFigures& figures,
                        std::size_t shown) {
    QStringList lines;
    if (!figures.Rule1.empty()) {
        lines << QCoreApplication::translate("TrendText", "规则 1, 超出控制限: %1").arg(PointList(series, figures.Rule1, shown));
    }
    if (!figures.Rule2.empty()) {
        lines << QCoreApplication::translate("TrendText", "规则 2, 连续 9 点在中心线同侧: %1")
                     .arg(PointList(series, figures.Rule2, shown));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace leeb
