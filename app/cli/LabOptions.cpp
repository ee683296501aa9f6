#include "LabOptions.h"

#include <array>
#include <string_view>

#include "CliArguments.h"
#include "CliSupport.h"
#include "LimitInput.h"
#include "LocaleDecimalSeparator.h"
#include "RecordSelection.h"

namespace leeb::cli {

namespace {

enum class Field { Text, Number, Flag };

struct LabOption {
    std::string_view Name;
    Field Kind;
};

constexpr std::array<LabOption, 16> Options = {{
    {"--company", Field::Text},
    {"--report-no", Field::Text},
    {"--part", Field::Text},
    {"--lot", Field::Text},
    {"--operator", Field::Text},
    {"--instrument", Field::Text},
    {"--standard", Field::Text},
    {"--remarks", Field::Text},
    {"--signatures", Field::Flag},
    {"--lower", Field::Number},
    {"--upper", Field::Number},
    {"--limits", Field::Text},
    {"--exclude-invalid", Field::Flag},
    {"--each-reading", Field::Flag},
    {"--reject-outside", Field::Flag},  // refused, naming what replaced it
    {"--records", Field::Text},
}};

std::string* DetailText(std::string_view name, LabOptions& lab) {
    ReportDetails& d = lab.Details;
    if (name == "--company")
        return &d.Company;
    if (name == "--report-no")
        return &d.ReportNumber;
    if (name == "--part")
        return &d.Part;
    if (name == "--lot")
        return &d.Lot;
    if (name == "--operator")
        return &d.Operator;
    if (name == "--instrument")
        return &d.Instrument;
    if (name == "--standard")
        return &d.Standard;
    if (name == "--remarks")
        return &d.Remarks;
    return nullptr;
}

double ParseLimit(std::string_view name, const std::string& text) {
    const char decimalSeparator = DecimalSeparator();
    LimitInput limit = ParseLimitInput(text, decimalSeparator);
    if (limit.Problem == LimitProblem::None && !limit.Value) {
        limit.Problem = LimitProblem::NotANumber;  // blanks only
        limit.Item = text;
    }
    if (limit.Problem != LimitProblem::None) {
        throw UsageError(std::string(name) + ": " + LimitProblemMessage(limit, decimalSeparator));
    }
    return *limit.Value;
}

UsageError LimitsWithLowerUpper() {
    return UsageError(
        "--limits 与 --lower/--upper 不能同时使用。(--limits gives each scale its limits; it "
        "cannot be combined with --lower or --upper.)");
}

}  // namespace

bool ParseLabOption(const std::vector<std::string>& arguments, std::size_t& i, LabOptions& lab) {
    const std::string& argument = arguments[i];
    const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
    const LabOption* option = nullptr;
    for (const LabOption& candidate : Options) {
        if (candidate.Name == name) {
            option = &candidate;
        }
    }
    if (option == nullptr) {
        return false;
    }
    const std::string key(name);
    std::optional<std::string> value;
    if (argument.size() > name.size()) {
        value = argument.substr(name.size() + 1);
    } else if (option->Kind != Field::Flag) {
        if (i + 1 >= arguments.size()) {
            throw UsageError(key + " 后缺少值。(" + key + " needs a value.)");
        }
        value = arguments[++i];
    }
    if (option->Kind == Field::Flag && value) {
        throw UsageError(key + " 不带值。(" + key + " takes no value.)");
    }
    if (value && value->empty()) {
        throw UsageError(key + " 的值不能为空。(" + key + " needs a value that is not empty.)");
    }
    const auto repeated = [&key] {
        return UsageError(key + " 只能给一次。(" + key + " may be given only once.)");
    };

    if (value) {
        CheckedText(key, *value);
    }
    if (std::string* text = DetailText(name, lab)) {
        if (!text->empty())
            throw repeated();
        *text = *value;
        lab.AnyDetails = true;
    } else if (name == "--signatures") {
        if (lab.Details.Signatures)
            throw repeated();
        lab.Details.Signatures = lab.AnyDetails = true;
    } else if (name == "--lower" || name == "--upper") {
        std::optional<double>& limit = name == "--lower" ? lab.Limits.Lower : lab.Limits.Upper;
        if (limit)
            throw repeated();
        if (!lab.ScaleLimits.empty())
            throw LimitsWithLowerUpper();
        limit = ParseLimit(name, *value);
        if (CheckLimits(lab.Limits) == LimitsProblem::LowerAboveUpper) {
            throw UsageError("下限大于上限。(--lower is above --upper.)");
        }
    } else if (name == "--exclude-invalid") {
        if (lab.ExcludeInvalid)
            throw repeated();
        lab.ExcludeInvalid = true;
    } else if (name == "--limits") {
        if (!lab.ScaleLimits.empty())
            throw repeated();
        if (lab.Limits.Any())
            throw LimitsWithLowerUpper();
        const char decimalSeparator = DecimalSeparator();
        const ScaleLimitsInput limits = ParseScaleLimits(*value, decimalSeparator);
        if (limits.Problem != LimitProblem::None) {
            throw UsageError(key + ": " + LimitProblemMessage(limits, decimalSeparator));
        }
        lab.ScaleLimits = limits.PerScale;
    } else if (name == "--each-reading") {
        if (lab.EachReading)
            throw repeated();
        lab.EachReading = true;
    } else if (name == "--reject-outside") {
        // It made readings outside the limits invalid and judged the rest, so a record with
        // one good reading passed; never quietly take it for something else.
        throw UsageError(
            "--reject-outside 已取消，请用 --each-reading (逐点判定：平均值或统计所用的任一读数"
            "超限即不合格)。(--reject-outside is gone: use --each-reading, which fails a record "
            "when its mean or any reading it is taken over lies outside the limits.)");
    } else if (name == "--records") {
        if (lab.Records)
            throw repeated();
        const RecordSelectionResult form = CheckRecordSelectionForm(*value);
        if (form.Error != RecordSelectionResult::Problem::None) {
            throw UsageError(RecordSelectionMessage(form, 0));
        }
        lab.Records = *value;
    }
    return true;
}

QualitySettings QualityOf(const LabOptions& lab, const std::set<std::string>& scales) {
    QualitySettings quality;
    if (lab.Limits.Any()) {
        if (scales.size() > 1) {
            std::string names;
            for (const std::string& scale : scales) {
                names += (names.empty() ? "" : ", ") + scale;
            }
            throw UsageError("--lower/--upper 只能用于同一硬度制的记录，这些记录有 " + names +
                             "：请用 --limits 给每个硬度制各自的限值，如 --limits "
                             "HL:400-460,HRC:44-46。(--lower and --upper judge records of one "
                             "scale, and these records are " +
                             names +
                             ": give each scale its limits with --limits, such as --limits "
                             "HL:400-460,HRC:44-46.)");
        }
        quality.ForAll = lab.Limits;
    }
    quality.PerScale = lab.ScaleLimits;
    quality.ExcludeInvalid = lab.ExcludeInvalid;
    quality.EachReading = lab.EachReading;
    return quality;
}

std::vector<std::size_t> ChosenRecords(const LabOptions& lab, std::size_t recordCount) {
    if (!lab.Records) {
        return {};
    }
    const RecordSelectionResult chosen = ParseRecordSelection(*lab.Records, recordCount);
    if (chosen.Error != RecordSelectionResult::Problem::None) {
        throw UsageError(RecordSelectionMessage(chosen, recordCount));
    }
    return chosen.Records;
}

std::set<std::string> ScalesOf(const RecordLines& lines, const std::vector<std::size_t>& chosen,
                               char decimalSeparator) {
    std::set<std::string> scales;
    const auto add = [&](std::size_t r) {
        const RecordTextFields fields = ParseRecordLine(lines[r], decimalSeparator);
        scales.insert(ScaleKey(DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord))));
    };
    if (chosen.empty()) {
        for (std::size_t r = 1; r < lines.size(); ++r) {
            add(r);
        }
    }
    for (const std::size_t r : chosen) {
        add(r);
    }
    return scales;
}

ReportContent ReportContentOf(const LabOptions& lab, const RecordLines& lines,
                              char decimalSeparator) {
    ReportContent content;
    content.Details = lab.Details;
    content.Records = ChosenRecords(lab, lines.empty() ? 0 : lines.size() - 1);
    content.Quality =
        QualityOf(lab, lab.Limits.Any() ? ScalesOf(lines, content.Records, decimalSeparator)
                                        : std::set<std::string>{});
    return content;
}

}  // namespace leeb::cli
