// archive trend: the individuals and moving-range chart and the capability of the records the
// filters choose, as one JSON object or as the trend page in a PDF.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>

#include "ArchiveTrend.h"
#include "ArchiveTrendCommand.h"
#include "CliArguments.h"
#include "CliLanguage.h"
#include "CliSupport.h"
#include "HeadlessPlatform.h"
#include "ReportErrors.h"
#include "ReportFonts.h"
#include "TrendJson.h"
#include "TrendPage.h"
#include "TrendText.h"

namespace leeb::cli {
namespace {

int applicationArgc = 1;
char applicationName[] = "leebdesk-cli";
char* applicationArgv[] = {applicationName, nullptr};

// Only the command line's own limits judge: the window's remembered ones belong to its lab row.
QualitySettings TrendQuality(const LabOptions& lab) {
    QualitySettings quality;
    if (lab.Limits.Any())
        quality.ForAll = lab.Limits;
    quality.ExcludeInvalid = lab.ExcludeInvalid;
    return quality;
}

// A trend text worded by the window's translation: Chinese, then the English in brackets, as
// every message of the command line.
std::string InBothLanguages(const std::function<QString()>& text) {
    const QString chinese = text();
    QString english;
    {
        const CliTranslation translation(InterfaceLanguage::English);
        english = text();
    }
    return (chinese + QStringLiteral(" (") + english + QStringLiteral(")")).toStdString();
}

void WritePdf(const ArchiveTrend& trend, const ArchiveArguments& arguments,
              const std::string& output) {
    // The charts are QCustomPlot widgets drawn into the page, so a QApplication; it must not
    // need a display.
    ChooseHeadlessPlatform();
    QApplication application(applicationArgc, applicationArgv);
    InstallFontSubstitutions();
    std::optional<CliTranslation> translation;
    if (arguments.Language)
        translation.emplace(*arguments.Language);
    else
        // The Chinese page carries the Chinese short date whatever the system's locale.
        QLocale::setDefault(LocaleForLanguage(InterfaceLanguage::Chinese, QLocale::system()));

    TrendPageContent content;
    content.Series = trend.Series;
    content.Figures = trend.Figures;
    content.Limits = trend.Limits;
    content.Filters = ArchiveFilterTexts(arguments.Filter);
    try {
        WriteTrendPdf(content, QFile::decodeName(QByteArray::fromStdString(output)));
    } catch (const ReportError& failure) {
        throw CliFailure("无法写入趋势图文件。(" + std::string(failure.what()) + ")");
    }
}

}  // namespace

int RunArchiveTrend(const ArchiveArguments& arguments) {
    const ArchiveLocation location = ResolveArchiveLocation(arguments.Archive);
    std::optional<std::string> output;
    if (arguments.Output) {
        output = OutputFilePath(*arguments.Output, ".pdf");
        if (!location.IsServer())
            RefuseArchiveAsOutput(location.Text, *output);
    }

    ArchiveTrend trend;
    try {
        const auto archive = OpenArchive(location, ArchiveAccess::Read);
        trend = ArchiveTrendOf(*archive, arguments.Filter, TrendQuality(arguments.Lab));
    } catch (const MixedTrendKinds& refusal) {
        // The choice, not the archive, is at fault: narrowed by --scale, --material or
        // --device it makes a trend.
        throw UsageError(InBothLanguages([&] { return MixedKindsMessage(refusal); }));
    }

    if (arguments.Json) {
        // Fewer than two points are no refusal here: the object says so with its nulls. Made
        // whole first: stdout written a character at a time costs more than the query.
        std::ostringstream json;
        WriteTrendJson(json, trend.Series, trend.Figures);
        const std::string text = std::move(json).str();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return ExitSuccess;
    }
    if (!trend.Figures.Charted())
        throw UsageError(InBothLanguages([&] { return TooFewPointsMessage(trend.Figures.N); }));
    WritePdf(trend, arguments, *output);
    return ExitSuccess;
}

}  // namespace leeb::cli
