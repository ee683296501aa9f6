// export: the records of a record file as a CSV table.

#include "CliSupport.h"
#include "Commands.h"
#include "LocaleDecimalSeparator.h"
#include "RecordCsv.h"

namespace leeb::cli {

int RunExport(const CommandArguments& arguments) {
    const char decimalSeparator = DecimalSeparator();
    const RecordLines lines = LoadRecordFile(*arguments.Input, decimalSeparator);
    const std::string output = OutputFilePath(*arguments.Output, ".csv");
    RefuseSameFile(*arguments.Input, output);
    try {
        WriteRecordCsv(output, lines, decimalSeparator);
    } catch (const ConversionError& failure) {
        throw CliFailure("记录文件有一行无法转换。(" + std::string(failure.what()) + ".)");
    } catch (const RecordFileError& failure) {
        throw CliFailure("无法写入 CSV 文件。(" + std::string(failure.what()) + ".)");
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
