#include "CliArguments.h"

#include <QString>
#include <algorithm>
#include <array>
#include <string_view>

#include "LeebdeskVersion.h"
#include "TerminalText.h"

namespace leeb::cli {

namespace {

struct CommandShape {
    std::string_view Name;
    bool TakesInput;  // one record file operand
    bool TakesJson;
    bool TakesSimulate;
    bool TakesQuality;  // limits, invalid readings, chosen records
    bool TakesDetails;  // report details
};

constexpr std::array<CommandShape, 4> Commands = {{
    {"upload", false, false, true, false, false},
    {"show", true, true, false, true, false},
    {"report", true, false, false, true, true},
    {"export", true, false, false, true, false},
}};

bool NeedsOutput(const CommandShape& shape) {
    return shape.Name != "show";
}

// An argument quoted back in a message: it must not reach the terminal as control characters.
std::string Quoted(std::string_view text) {
    return "\"" + TerminalSafe(text, Backslash::Kept) + "\"";
}

void SetOutput(CommandArguments& parsed, std::string value) {
    if (parsed.Output) {
        throw UsageError("-o 只能给一次。(-o may be given only once.)");
    }
    if (value.empty()) {
        throw UsageError("-o 后缺少文件名。(-o needs a file name.)");
    }
    parsed.Output = std::move(value);
}

}  // namespace

const std::string& CheckedText(const std::string& option, const std::string& value) {
    const std::size_t bad = FirstNonUtf8Byte(value);
    if (bad == std::string::npos)
        return value;
    static constexpr char Hex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(value[bad]);
    const std::string where = std::to_string(bad + 1);
    const std::string shown = {'0', 'x', Hex[byte >> 4], Hex[byte & 0x0F]};
    throw UsageError(option + " 的值不是 UTF-8 文本：第 " + where + " 个字节是 " + shown +
                     "。(The value of " + option + " is not UTF-8 text: byte " + where + " is " +
                     shown + ".)");
}

CommandArguments ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandArguments parsed;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    bool sawJson = false;
    bool sawSimulate = false;
    bool sawArchive = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            parsed.Help = true;
        } else if (argument == "--version") {
            parsed.Version = true;
        } else if (argument == "-o" || argument == "--output") {
            if (i + 1 >= arguments.size()) {
                throw UsageError("-o 后缺少文件名。(-o needs a file name.)");
            }
            SetOutput(parsed, arguments[++i]);
        } else if (argument.starts_with("--output=")) {
            SetOutput(parsed, argument.substr(9));
        } else if (argument.starts_with("-o")) {
            SetOutput(parsed, argument.substr(2));
        } else if (argument == "--lang" || argument.starts_with("--lang=")) {
            if (parsed.Language) {
                throw UsageError("--lang 只能给一次。(--lang may be given only once.)");
            }
            if (argument == "--lang" && i + 1 >= arguments.size()) {
                throw UsageError("--lang 后缺少 zh 或 en。(--lang needs zh or en.)");
            }
            const std::string name = argument == "--lang" ? arguments[++i] : argument.substr(7);
            parsed.Language = ParseLanguageName(QString::fromStdString(name));
            if (!parsed.Language) {
                throw UsageError("--lang 只接受 zh 或 en，而不是 " + Quoted(name) +
                                 "。(--lang takes zh or en, not " + Quoted(name) + ".)");
            }
        } else if (argument == "--json") {
            if (sawJson)
                throw UsageError("--json 只能给一次。(--json may be given only once.)");
            sawJson = parsed.Json = true;
        } else if (argument == "--verify") {
            if (parsed.Verify)
                throw UsageError("--verify 只能给一次。(--verify may be given only once.)");
            parsed.Verify = true;
        } else if (argument == "--simulate" || argument.starts_with("--simulate=")) {
            if (sawSimulate) {
                throw UsageError("--simulate 只能给一次。(--simulate may be given only once.)");
            }
            sawSimulate = parsed.Simulate = true;
            if (argument.size() > 10) {
                parsed.SimulateFile = argument.substr(11);
                if (parsed.SimulateFile.empty()) {
                    throw UsageError("--simulate= 后缺少文件名。(--simulate= needs a file name.)");
                }
            }
        } else if (argument == "--no-archive") {
            parsed.NoArchive = true;
        } else if (argument == "--archive" || argument.starts_with("--archive=")) {
            if (sawArchive)
                throw UsageError("--archive 只能给一次。(--archive may be given only once.)");
            sawArchive = true;
            if (argument == "--archive" && i + 1 >= arguments.size())
                throw UsageError("--archive 后缺少值。(--archive needs a value.)");
            parsed.Archive = argument == "--archive" ? arguments[++i] : argument.substr(10);
            if (parsed.Archive.empty())
                throw UsageError("--archive 后缺少值。(--archive needs a value.)");
        } else if (!ParseLabOption(arguments, i, parsed.Lab)) {
            throw UsageError("未知选项 " + Quoted(argument) + "。(Unknown option.)");
        }
    }

    if (operands.empty()) {
        if (parsed.Help || parsed.Version)
            return parsed;
        throw UsageError("缺少命令。(No command given.)");
    }
    parsed.Command = operands.front();
    operands.erase(operands.begin());
    const auto shape = std::find_if(Commands.begin(), Commands.end(), [&](const CommandShape& s) {
        return s.Name == parsed.Command;
    });
    if (shape == Commands.end()) {
        throw UsageError("未知命令 " + Quoted(parsed.Command) + "。(Unknown command.)");
    }
    if (parsed.Help || parsed.Version)
        return parsed;

    if (parsed.Json && !shape->TakesJson) {
        throw UsageError("命令 " + parsed.Command + " 不接受 --json。(" + parsed.Command +
                         " does not take --json.)");
    }
    if (parsed.NoArchive && !shape->TakesSimulate) {
        throw UsageError("命令 " + parsed.Command + " 不接受 --no-archive。(" + parsed.Command +
                         " does not take --no-archive.)");
    }
    if (sawArchive && !shape->TakesSimulate) {
        throw UsageError("命令 " + parsed.Command + " 不接受 --archive。(" + parsed.Command +
                         " does not take --archive.)");
    }
    if (sawArchive && parsed.NoArchive) {
        throw UsageError(
            "--archive 与 --no-archive 不能同时给。(--archive and --no-archive "
            "contradict each other.)");
    }
    if (parsed.Simulate && !shape->TakesSimulate) {
        throw UsageError("命令 " + parsed.Command + " 不接受 --simulate。(" + parsed.Command +
                         " does not take --simulate.)");
    }
    if (parsed.Verify && parsed.Command != "upload") {
        throw UsageError("命令 " + parsed.Command + " 不接受 --verify。(" + parsed.Command +
                         " does not take --verify; only upload reads from the tester.)");
    }
    if (parsed.Lab.AnyDetails && !shape->TakesDetails) {
        throw UsageError("命令 " + parsed.Command + " 不接受报表信息选项。(" + parsed.Command +
                         " does not take report details such as --company; only report prints "
                         "them.)");
    }
    if (parsed.Lab.AnyQuality() && !shape->TakesQuality) {
        throw UsageError("命令 " + parsed.Command + " 不接受限值和记录选择选项。(" +
                         parsed.Command + " does not take limits or a record choice.)");
    }
    if (parsed.Output && !NeedsOutput(*shape)) {
        throw UsageError("命令 " + parsed.Command + " 不接受 -o。(" + parsed.Command +
                         " does not take -o; it prints to standard output.)");
    }
    if (!parsed.Output && NeedsOutput(*shape)) {
        throw UsageError("命令 " + parsed.Command + " 需要 -o 输出文件。(" + parsed.Command +
                         " needs -o and an output file.)");
    }
    if (shape->TakesInput) {
        if (operands.empty()) {
            throw UsageError("命令 " + parsed.Command + " 需要一个记录文件。(" + parsed.Command +
                             " needs a record file.)");
        }
        parsed.Input = operands.front();
        operands.erase(operands.begin());
    }
    if (!operands.empty()) {
        throw UsageError("多余的参数 " + Quoted(operands.front()) + "。(Unexpected argument.)");
    }
    return parsed;
}

std::optional<InterfaceLanguage> LanguageAsked(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--")
            break;
        std::optional<std::string> name;
        if (argument == "--lang" && i + 1 < arguments.size())
            name = arguments[i + 1];
        else if (argument.starts_with("--lang="))
            name = argument.substr(7);
        if (name)
            return ParseLanguageName(QString::fromStdString(*name));
    }
    return std::nullopt;
}

const char* UsageHint(std::optional<InterfaceLanguage> language) {
    if (!language)
        return "leebdesk-cli --help 查看用法 (see leebdesk-cli --help for usage)\n";
    if (*language == InterfaceLanguage::English)
        return "See leebdesk-cli --help for usage.\n";
    return "leebdesk-cli --help 查看用法\n";
}

const char* VersionText() {
    return "leebdesk-cli " LEEBDESK_VERSION_TEXT "\n";
}

const char* UsageText() {
    return "用法 (usage):\n"
           "  leebdesk-cli upload [--simulate[=RECORDS.json]] [--verify]\n"
           "      [--no-archive | --archive PATH|postgresql://...] -o OUT.txt\n"
           "      从里氏硬度计上传全部记录，写入记录文件；文件名没有 \".\" 时加上 \".txt\"。\n"
           "      --simulate 用内置的模拟硬度计，--simulate=FILE 用 FILE 中的记录。\n"
           "      (Upload every record from the tester into a record file; \".txt\" is appended\n"
           "      to a file name without \".\". --simulate uses the built-in simulated tester,\n"
           "      --simulate=FILE one holding the records of the JSON file.)\n"
           "      --verify 每条记录读两次并比较，约需两倍时间。(Read every record twice and\n"
           "      compare; takes about twice as long.) 每条记录读完即存入档案，--no-archive\n"
           "      不存；--archive 指定档案，同 archive 命令。(Each record goes into the archive\n"
           "      as it completes; --no-archive keeps it out; --archive names the archive as\n"
           "      for the archive commands.)\n"
           "  leebdesk-cli show RECORDS.txt [--json] [LIMITS]\n"
           "      显示记录文件中的每条记录。(Print every record of a record file, as text or\n"
           "      as a JSON array.)\n"
           "  leebdesk-cli report RECORDS.txt -o REPORT.pdf [DETAILS] [LIMITS]\n"
           "      把测试报表写成 PDF。(Write the measurement report as a PDF file.)\n"
           "  leebdesk-cli export RECORDS.txt -o OUT.csv [LIMITS]\n"
           "      把记录导出为 CSV 表格。(Export the records to a CSV table.)\n"
           "  LIMITS: --limits HL:400-460,HRC:44-46 各硬度制的限值, 可只给一端如 HRC:44-\n"
           "      (tolerance limits per scale, either end may be left out; records of other\n"
           "      scales get no verdict); --lower N --upper N 限值, 仅用于同一硬度制的记录\n"
           "      (limits for records that all share one scale); --exclude-invalid 统计不含\n"
           "      无效读数 888 (leave failed impacts out of the statistics); --each-reading\n"
           "      逐点判定: 平均值及统计所用的每个读数都须在限内 (the mean and every reading\n"
           "      it is taken over must lie within the limits; without it only the mean is\n"
           "      judged); --records 1-5,9 只取这些记录 (only these records).\n"
           "  DETAILS: --company --report-no --part --lot --operator --instrument --standard\n"
           "      --remarks TEXT, --signatures 报表信息与签字栏 (details on page 1, signature\n"
           "      lines at the end).\n"
           "  leebdesk-cli archive ...: 测量档案, 见下。(The measurement archive, below.)\n"
           "  leebdesk-cli --help | --version\n"
           "  --lang zh|en: show、report 和 export 的输出用中文或英文 (the output of show,\n"
           "      report and export in Chinese or English; Chinese by default).\n"
           "退出状态 (exit status):\n"
           "  0  成功 (success)\n"
           "  1  失败 (failure)\n"
           "  2  用法错误 (usage error)\n"
           "  3  upload 中断 (超时、拔出或数据错误)：已读入的 N 条记录 (共 M 条) 已写入\n"
           "     (upload interrupted by a time-out, an unplug or a data error: the N of M\n"
           "     records read before were written)\n"
           "  4  upload 的记录未能全部存入档案 (档案和本机档案都未收下)：记录已写入文件，\n"
           "     消息说明有几条未存入 (upload: records written to the file but not all\n"
           "     archived, neither the archive nor the local one took them; the message\n"
           "     says how many)\n";
}

}  // namespace leeb::cli
