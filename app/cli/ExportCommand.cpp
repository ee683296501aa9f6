// export: the records of a record file as a CSV table.

#include "CliLanguage.h"
#include "CliSupport.h"
#include "Commands.h"
#include "ErrorText.h"
#include "LocaleDecimalSeparator.h"
#include "RecordCsv.h"

namespace leeb::cli {

int RunExport(const CommandArguments& arguments) {
    const char decimalSeparator = DecimalSeparator();
    const RecordLines lines = LoadRecordFile(*arguments.Input);
    RefuseSameFile(*arguments.Input, *arguments.Output);
    CheckRecordLines(lines, decimalSeparator);
    try {
        WriteRecordCsv(*arguments.Output, lines, decimalSeparator);
    } catch (const ConversionError& failure) {
        throw CliFailure(
            Say("记录文件有一行无法转换：" + ErrorText::Of(failure).toStdString() + "。",
                std::string(failure.what()) + "."));
    } catch (const RecordFileError& failure) {
        throw CliFailure(Say("无法写入 CSV 文件：" + ErrorText::Of(failure).toStdString() + "。",
                             std::string(failure.what()) + "."));
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
