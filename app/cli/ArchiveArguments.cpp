#include "ArchiveArguments.h"

#include <QDate>
#include <QString>
#include <set>

#include "ArchiveFilterNames.h"
#include "CliArguments.h"
#include "LabOptions.h"

namespace leeb::cli {
namespace {

const std::set<std::string> Actions = {"import", "list", "export", "history", "backup",
                                       "check",  "sync", "trend",  "amend"};

// The lab options that judge a record for --verdict, read as show, report and export read them.
const std::set<std::string> QualityOptions = {"--limits", "--lower", "--upper", "--each-reading",
                                              "--exclude-invalid"};

ArchiveVerdict CheckedVerdict(const std::string& value) {
    if (value == "pass")
        return ArchiveVerdict::Pass;
    if (value == "fail")
        return ArchiveVerdict::Fail;
    if (value == "none")
        return ArchiveVerdict::NoLimits;
    throw UsageError("--verdict 要 pass、fail 或 none。(--verdict needs pass, fail or none.)");
}

// The settings --verdict judges with. One pair of limits (--lower/--upper) judges every record
// it meets, so it needs --scale: a HRC limit must never judge a HL record.
QualitySettings VerdictQuality(const LabOptions& lab, const ArchiveFilter& filter) {
    if (!lab.Limits.Any() && lab.ScaleLimits.empty())
        throw UsageError(
            "--verdict 要公差限 (--limits, 或 --scale 加 --lower/--upper)。"
            "(--verdict needs limits: --limits, or --lower/--upper with --scale.)");
    if (lab.Limits.Any() && !filter.Scale)
        throw UsageError(
            "--lower/--upper 要与 --scale 一起用，或改用 --limits。"
            "(--lower/--upper need --scale; or give --limits per scale.)");
    QualitySettings quality;
    if (lab.Limits.Any())
        quality.ForAll = lab.Limits;
    quality.PerScale = lab.ScaleLimits;
    quality.ExcludeInvalid = lab.ExcludeInvalid;
    quality.EachReading = lab.EachReading;
    return quality;
}

std::string CheckedDate(const std::string& option, const std::string& value) {
    if (!QDate::fromString(QString::fromStdString(value), "yyyy-MM-dd").isValid())
        throw UsageError(option + " 要 YYYY-MM-DD 形式的日期。(" + option +
                         " needs a date as YYYY-MM-DD.)");
    return value;
}

// A record id as `list` shows it: a whole number above 0.
int64_t CheckedId(const std::string& text) {
    bool ok = false;
    const qlonglong id = QString::fromStdString(text).toLongLong(&ok);
    if (!ok || id <= 0)
        throw UsageError("记录编号要是正整数，而不是 \"" + text +
                         "\"。(A record id is a whole "
                         "number above 0, not \"" +
                         text + "\".)");
    return id;
}

InterfaceLanguage Language(const std::string& name) {
    const auto language = ParseLanguageName(QString::fromStdString(name));
    if (!language)
        throw UsageError("--lang 只接受 zh 或 en，而不是 \"" + name +
                         "\"。(--lang takes zh or en, "
                         "not \"" +
                         name + "\".)");
    return *language;
}

}  // namespace

const char* ArchiveUsageText() {
    return "用法 (usage): leebdesk-cli archive import FILE... [--part T --lot T --operator T"
           " --remarks T]\n"
           "                          archive list [FILTERS] [--json]\n"
           "                          archive export -o FILE [FILTERS]\n"
           "                          archive amend ID... [--part T --lot T --operator T"
           " --instrument T --standard T --remarks T] [--reason T]\n"
           "                          archive history ID | backup -o FILE | check | sync\n"
           "                          archive trend [FILTERS] [--lower X] [--upper Y]"
           " [--exclude-invalid] (--json | -o FILE.pdf) [--lang zh|en]\n"
           "  FILTERS: --from YYYY-MM-DD --to YYYY-MM-DD --material T --scale T --device T"
           " --part T --lot T --operator T\n"
           "           --verdict pass|fail|none with --limits HRC:44-46,... (or --scale T"
           " --lower N --upper N) [--exclude-invalid] [--each-reading]\n"
           "  --archive PATH|postgresql://...|key=value...  (默认 default: $LEEBDESK_ARCHIVE,"
           " else the setting archive/location, else the user's archive)\n";
}

ArchiveArguments ParseArchiveArguments(const std::vector<std::string>& arguments) {
    ArchiveArguments parsed;
    if (arguments.empty() || !Actions.contains(arguments[0]))
        throw UsageError(
            "archive 后要 import、list、export、amend、history、backup、check、sync 或 "
            "trend。(archive needs import, list, export, amend, history, backup, "
            "check, sync or trend.)");
    parsed.Action = arguments[0];
    const bool trend = parsed.Action == "trend";
    const bool listing = parsed.Action == "list" || parsed.Action == "export";
    const bool filters = listing || trend;
    const bool amend = parsed.Action == "amend";
    const bool details = parsed.Action == "import" || amend;
    std::set<std::string> seen;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.Operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--json" && (parsed.Action == "list" || trend)) {
            if (parsed.Json)
                throw UsageError("--json 只能给一次。(--json may be given only once.)");
            parsed.Json = true;
            continue;
        }
        if (listing && QualityOptions.contains(argument.substr(0, argument.find('=')))) {
            ParseLabOption(arguments, i, parsed.Lab);
            continue;
        }
        // The trend's limits and exclusion read as report, export and show read them.
        if (trend && (argument.starts_with("--lower") || argument.starts_with("--upper") ||
                      argument.starts_with("--exclude-invalid"))) {
            if (ParseLabOption(arguments, i, parsed.Lab))
                continue;
        }
        std::string name = argument, value;
        bool hasValue = false;
        if (const auto equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        }
        if (name == "--output")
            name = "-o";
        const bool known =
            name == "--archive" ||
            (name == "-o" && (parsed.Action == "export" || parsed.Action == "backup" || trend)) ||
            (name == "--lang" && trend) ||
            (filters && (name == "--from" || name == "--to" || name == "--material" ||
                         name == "--scale" || name == "--device")) ||
            (listing && name == "--verdict") ||
            ((filters || details) &&
             (name == "--part" || name == "--lot" || name == "--operator")) ||
            (details && name == "--remarks") ||
            (amend && (name == "--instrument" || name == "--standard" || name == "--reason"));
        if (!known)
            throw UsageError("archive " + parsed.Action + " 不认识选项 " + argument +
                             "。(archive " + parsed.Action + " does not take " + argument + ".)");
        if (!seen.insert(name).second)
            throw UsageError(name + " 只能给一次。(" + name + " may be given only once.)");
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                throw UsageError(name + " 后缺少值。(" + name + " needs a value.)");
            value = arguments[++i];
        }
        if (name != "--archive" && name != "-o")  // a path may be any bytes the system takes
            CheckedText(name, value);
        if (name == "--archive")
            parsed.Archive = value;
        else if (name == "-o")
            parsed.Output = value;
        else if (name == "--lang")
            parsed.Language = Language(value);
        else if (name == "--from")
            parsed.Filter.From = CheckedDate(name, value);
        else if (name == "--to")
            parsed.Filter.To = CheckedDate(name, value);
        else if (name == "--material")
            parsed.Filter.Material = ArchiveMaterialFilter(value);
        else if (name == "--scale")
            parsed.Filter.Scale = ArchiveScaleFilter(value);
        else if (name == "--device")
            parsed.Filter.Device = ArchiveDeviceFilter(value);
        else if (name == "--verdict")
            parsed.Filter.Verdict = CheckedVerdict(value);
        else if (amend && name == "--reason")
            parsed.Reason = value;
        else if (amend && name == "--instrument")
            parsed.Change.Instrument = value;
        else if (amend && name == "--standard")
            parsed.Change.Standard = value;
        else if (amend && name == "--part")
            parsed.Change.Part = value;
        else if (amend && name == "--lot")
            parsed.Change.Lot = value;
        else if (amend && name == "--operator")
            parsed.Change.Operator = value;
        else if (amend && name == "--remarks")
            parsed.Change.Remarks = value;
        else if (details && name == "--part")
            parsed.Details.Part = value;
        else if (details && name == "--lot")
            parsed.Details.Lot = value;
        else if (details && name == "--operator")
            parsed.Details.Operator = value;
        else if (name == "--remarks")
            parsed.Details.Remarks = value;
        else if (name == "--part")
            parsed.Filter.Part = value;
        else if (name == "--lot")
            parsed.Filter.Lot = value;
        else if (name == "--operator")
            parsed.Filter.Operator = value;
    }
    if (listing && parsed.Filter.Verdict)
        parsed.Filter.Quality = VerdictQuality(parsed.Lab, parsed.Filter);
    else if (listing && parsed.Lab.AnyQuality())
        throw UsageError(
            "公差限和读数选项只与 --verdict 一起用。(The limits and reading options "
            "go with --verdict only.)");
    const std::size_t operands = parsed.Operands.size();
    if (parsed.Action == "import" && operands == 0)
        throw UsageError("archive import 要记录文件。(archive import needs record files.)");
    if (parsed.Action == "history" && operands != 1)
        throw UsageError("archive history 要一个记录编号。(archive history needs one record id.)");
    if (amend) {
        if (operands == 0)
            throw UsageError("archive amend 要记录编号。(archive amend needs record ids.)");
        for (const std::string& operand : parsed.Operands)
            parsed.Ids.push_back(CheckedId(operand));
        if (parsed.Change.Empty())
            throw UsageError(
                "archive amend 要至少一项信息 (--part、--lot、--operator、--instrument、"
                "--standard、--remarks)。(archive amend needs at least one detail: "
                "--part, --lot, --operator, --instrument, --standard or --remarks.)");
    }
    if (parsed.Action != "import" && parsed.Action != "history" && !amend && operands != 0)
        throw UsageError("多余的参数 " + parsed.Operands[0] + "。(Surplus operand " +
                         parsed.Operands[0] + ".)");
    if ((parsed.Action == "export" || parsed.Action == "backup") && !parsed.Output)
        throw UsageError("archive " + parsed.Action + " 要 -o FILE。(archive " + parsed.Action +
                         " needs -o FILE.)");
    if (trend && parsed.Json == parsed.Output.has_value())
        throw UsageError(
            "archive trend 要 --json 或 -o FILE.pdf 二者之一。(archive trend needs "
            "either --json or -o FILE.pdf.)");
    return parsed;
}

}  // namespace leeb::cli
