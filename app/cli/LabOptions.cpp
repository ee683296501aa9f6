#include "LabOptions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "CliArguments.h"
#include "CliSupport.h"
#include "CsvText.h"
#include "RecordSelection.h"

namespace leeb::cli {

namespace {

enum class Field { Text, Number, Flag };

struct LabOption {
    std::string_view Name;
    Field Kind;
};

constexpr std::array<LabOption, 14> Options = {{
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
    {"--exclude-invalid", Field::Flag},
    {"--reject-outside", Field::Flag},
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

// A limit as a user writes it: "450", "45.5" or, with a decimal comma, "45,5".
double ParseLimit(std::string_view name, std::string text) {
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        !std::isfinite(value)) {
        throw UsageError(std::string(name) + " 需要一个数值。(" + std::string(name) +
                         " needs a number, such as 450 or 45.5.)");
    }
    return value;
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
        limit = ParseLimit(name, *value);
        if (CheckLimits(lab.Limits) == LimitsProblem::LowerAboveUpper) {
            throw UsageError("下限大于上限。(--lower is above --upper.)");
        }
    } else if (name == "--exclude-invalid") {
        if (lab.ExcludeInvalid)
            throw repeated();
        lab.ExcludeInvalid = true;
    } else if (name == "--reject-outside") {
        if (lab.RejectOutside)
            throw repeated();
        lab.RejectOutside = true;
    } else if (name == "--records") {
        if (lab.Records)
            throw repeated();
        lab.Records = *value;
    }
    return true;
}

QualitySettings QualityOf(const LabOptions& lab) {
    QualitySettings quality;
    if (lab.Limits.Any()) {
        quality.ForAll = lab.Limits;
    }
    quality.ExcludeInvalid = lab.ExcludeInvalid;
    quality.OutsideLimitsInvalid = lab.RejectOutside;
    return quality;
}

std::vector<std::size_t> ChosenRecords(const LabOptions& lab, const RecordLines& lines) {
    if (!lab.Records) {
        return {};
    }
    const std::size_t count = lines.empty() ? 0 : lines.size() - 1;
    const RecordSelectionResult chosen = ParseRecordSelection(*lab.Records, count);
    if (chosen.Error != RecordSelectionResult::Problem::None) {
        throw CliFailure(RecordSelectionMessage(chosen, count));
    }
    return chosen.Records;
}

ReportContent ReportContentOf(const LabOptions& lab, const RecordLines& lines) {
    ReportContent content;
    content.Details = lab.Details;
    content.Quality = QualityOf(lab);
    content.Records = ChosenRecords(lab, lines);
    return content;
}

RecordCsvOptions CsvOptionsOf(const LabOptions& lab, const RecordLines& lines) {
    RecordCsvOptions options;
    options.Quality = QualityOf(lab);
    options.Records = ChosenRecords(lab, lines);
    options.Texts = TranslatedCsvTexts();
    return options;
}

}  // namespace leeb::cli
