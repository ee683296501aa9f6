// export: the records of a record file as a CSV table, written while the file is read.

#include <optional>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "CsvText.h"
#include "LocaleDecimalSeparator.h"
#include "RecordCsv.h"
#include "RecordFileScan.h"

namespace leeb::cli {

int RunExport(const CommandArguments& arguments) {
    // The table's headers and names in the chosen language; the messages stay bilingual.
    std::optional<CliTranslation> translation;
    if (arguments.Language)
        translation.emplace(*arguments.Language);
    const std::string& input = *arguments.Input;
    const std::string output = OutputFilePath(*arguments.Output, ".csv");
    RefuseSameFile(input, output);
    const LabOptions& lab = arguments.Lab;
    RecordCsvOptions options;
    options.DecimalSeparator = DecimalSeparator();
    options.Texts = TranslatedCsvTexts();
    if (lab.Records || lab.Limits.Any()) {
        const RecordFileScan scan =
            ScanRecordFile(input, options.DecimalSeparator, lab.Limits.Any());
        options.Records = ChosenRecords(lab, scan.RecordCount);
        options.Quality = QualityOf(lab, scan.ScalesOf(options.Records));
    } else {
        options.Quality = QualityOf(lab, {});
    }
    try {
        ExportRecordFileCsv(input, output, options);
    } catch (const ConversionError& failure) {
        throw CliFailure("记录文件有一行无法转换。(" + std::string(failure.what()) + ".)");
    } catch (const RecordFileError& failure) {
        const FileProblem problem = failure.Problem();
        if (problem != FileProblem::CannotWrite && problem != FileProblem::NotARegularFile) {
            throw CliFailure(ReadFailureMessage(failure));
        }
        throw CliFailure("无法写入 CSV 文件。(" + std::string(failure.what()) + ".)");
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
