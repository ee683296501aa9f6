// report: the measurement report of a record file as a PDF, the same pages the window's report
// writes to a file, without a display.

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <optional>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "HeadlessPlatform.h"
#include "LocaleDecimalSeparator.h"
#include "ReportErrors.h"
#include "ReportFonts.h"
#include "ReportPdf.h"

namespace leeb::cli {

int RunReport(const CommandArguments& arguments, int argc, char** argv) {
    const char decimalSeparator = DecimalSeparator();
    // Everything that can fail on the input is checked before Qt's GUI layer starts, so a bad
    // file costs nothing and leaves no output behind.
    const RecordLines lines = LoadRecordFile(*arguments.Input, decimalSeparator);
    // A report of no record would be a title page that looks like a result.
    if (lines.size() <= 1)
        throw CliFailure("记录文件中没有记录，未生成报表：" + *arguments.Input +
                         "。(The record file holds no records; no report was written: " +
                         *arguments.Input + ".)");
    const std::string output = OutputFilePath(*arguments.Output, ".pdf");
    RefuseSameFile(*arguments.Input, output);
    PdfReportOptions options;
    options.Content = ReportContentOf(arguments.Lab, lines, decimalSeparator);

    // Fonts and the PDF writer need a QGuiApplication; it must not need a display.
    ChooseHeadlessPlatform();
    QGuiApplication application(argc, argv);
    InstallFontSubstitutions();
    // The report in the language --lang names; without it, the window's Chinese one.
    std::optional<CliTranslation> translation;
    if (arguments.Language)
        translation.emplace(*arguments.Language);
    else
        // Qt's own texts play no part in a PDF, but the print date does: the Chinese report
        // carries the Chinese short date whatever the system's locale.
        QLocale::setDefault(LocaleForLanguage(InterfaceLanguage::Chinese, QLocale::system()));

    const QString pdfPath = QFile::decodeName(QByteArray::fromStdString(output));
    try {
        WriteReportPdf(lines, pdfPath, decimalSeparator, options);
    } catch (const ConversionError& failure) {
        throw CliFailure("记录文件有一行无法转换。(" + std::string(failure.what()) + ".)");
    } catch (const ReportError& failure) {
        throw CliFailure("无法写入报表文件。(" + std::string(failure.what()) + ")");
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
