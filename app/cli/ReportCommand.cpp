// report: the measurement report of a record file as a PDF, the same pages the window's report
// writes to a file, without a display.

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <optional>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "ErrorText.h"
#include "LocaleDecimalSeparator.h"
#include "ReportErrors.h"
#include "ReportFonts.h"
#include "ReportPdf.h"

namespace leeb::cli {

int RunReport(const CommandArguments& arguments, int argc, char** argv) {
    const char decimalSeparator = DecimalSeparator();
    // Everything that can fail on the input is checked before Qt's GUI layer starts, so a bad
    // file costs nothing and leaves no output behind.
    const RecordLines lines = LoadRecordFile(*arguments.Input);
    RefuseSameFile(*arguments.Input, *arguments.Output);
    CheckRecordLines(lines, decimalSeparator);

    // Fonts and the PDF writer need a QGuiApplication; it must not need a display. A platform
    // the user chose is kept.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    QGuiApplication application(argc, argv);
    InstallFontSubstitutions();
    // The report in the language chosen; without --lang it is the window's Chinese one.
    std::optional<CliTranslation> translation;
    if (Language())
        translation.emplace(*Language());

    const QString pdfPath = QFile::decodeName(QByteArray::fromStdString(*arguments.Output));
    try {
        WriteReportPdf(lines, pdfPath, decimalSeparator);
    } catch (const ConversionError& failure) {
        throw CliFailure(
            Say("记录文件有一行无法转换：" + ErrorText::Of(failure).toStdString() + "。",
                std::string(failure.what()) + "."));
    } catch (const ReportError& failure) {
        // Worded by the translator already: in the language chosen, or Chinese.
        throw CliFailure(Say("无法写入报表文件：" + std::string(failure.what()),
                             "Cannot write the report file: " + std::string(failure.what())));
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
