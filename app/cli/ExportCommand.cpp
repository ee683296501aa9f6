// export: the records of a record file as a CSV table.

#include <optional>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "LocaleDecimalSeparator.h"
#include "RecordCsv.h"

namespace leeb::cli {

int RunExport(const CommandArguments& arguments) {
    // The table's headers and names in the chosen language; the messages stay bilingual.
    std::optional<CliTranslation> translation;
    if (arguments.Language)
        translation.emplace(*arguments.Language);
    const char decimalSeparator = DecimalSeparator();
    const RecordLines lines = LoadRecordFile(*arguments.Input, decimalSeparator);
    const std::string output = OutputFilePath(*arguments.Output, ".csv");
    RefuseSameFile(*arguments.Input, output);
    const RecordCsvOptions options = CsvOptionsOf(arguments.Lab, lines);
    try {
        WriteRecordCsv(output, lines, {}, decimalSeparator, options);
    } catch (const ConversionError& failure) {
        throw CliFailure("记录文件有一行无法转换。(" + std::string(failure.what()) + ".)");
    } catch (const RecordFileError& failure) {
        throw CliFailure("无法写入 CSV 文件。(" + std::string(failure.what()) + ".)");
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
