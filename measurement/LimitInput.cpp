#include "LimitInput.h"

#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "FieldConversion.h"
#include "MeasurementRecord.h"
#include "MessageArguments.h"
#include "RecordFileErrors.h"
#include "TranslationMarks.h"

namespace leeb {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The separators a limit may carry its decimals with: the user's own and '.', or ',' where the
// user's is '.'.
char OtherSeparator(char decimalSeparator) {
    return decimalSeparator == '.' ? ',' : '.';
}

// "1,000" and "12,345.5"; in a comma-decimal setting also "1.000". Four digits ("1,0005") or
// two ("1,05") cannot be a group of thousands.
bool LooksGrouped(std::string_view text, char decimalSeparator) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool grouping = text[i] == ',' || (decimalSeparator == ',' && text[i] == '.');
        if (!grouping) {
            continue;
        }
        std::size_t digits = 0;
        while (i + 1 + digits < text.size() && IsDigit(text[i + 1 + digits])) {
            ++digits;
        }
        if (digits == 3) {
            return true;
        }
    }
    return false;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// The names ScaleKey gives, so that a list names scales as the window remembers them.
std::optional<std::string> KnownScale(std::string_view name) {
    const std::string wanted = Lowered(name);
    for (const char* scale : ScaleNames) {
        std::string key(scale);
        while (!key.empty() && key.back() == ' ') {
            key.pop_back();
        }
        if (Lowered(key) == wanted) {
            return key;
        }
    }
    if (wanted == "strength") {
        return std::string("strength");
    }
    return std::nullopt;
}

template <typename Result>
Result Failed(LimitProblem problem, std::string_view item) {
    Result result;
    result.Problem = problem;
    result.Item = std::string(item);
    return result;
}

}  // namespace

LimitInput ParseLimitInput(std::string_view typed, char decimalSeparator) {
    const std::string_view text = TrimField(typed);
    LimitInput result;
    if (text.empty()) {
        return result;
    }
    if (LooksGrouped(text, decimalSeparator)) {
        return Failed<LimitInput>(LimitProblem::GroupedThousands, text);
    }
    try {
        result.Value = ConvertReal(text, decimalSeparator, OtherSeparator(decimalSeparator));
    } catch (const ConversionError&) {
        return Failed<LimitInput>(LimitProblem::NotANumber, text);
    }
    return result;
}

ScaleLimitsInput ParseScaleLimits(std::string_view text, char decimalSeparator) {
    // Entries are separated by commas; a piece without ':' is the decimals of the limit before
    // it ("HRC:44,5-46").
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view piece = text.substr(start, end - start);
        if (piece.find(':') == std::string_view::npos && !entries.empty()) {
            entries.back().append(",").append(piece);
        } else {
            entries.emplace_back(piece);
        }
        start = end + 1;
    }

    ScaleLimitsInput result;
    for (const std::string& entry : entries) {
        const std::string_view whole = TrimField(entry);
        const std::size_t colon = whole.find(':');
        if (colon == std::string_view::npos) {
            return Failed<ScaleLimitsInput>(LimitProblem::NoScale, whole);
        }
        const std::string_view name = TrimField(whole.substr(0, colon));
        const std::optional<std::string> scale = KnownScale(name);
        if (!scale) {
            return Failed<ScaleLimitsInput>(LimitProblem::UnknownScale, name);
        }
        if (result.PerScale.contains(*scale)) {
            return Failed<ScaleLimitsInput>(LimitProblem::RepeatedScale, name);
        }
        // Limits are never negative, so the first '-' is the one between the ends.
        const std::string_view range = whole.substr(colon + 1);
        const std::size_t dash = range.find('-');
        if (dash == std::string_view::npos || range.find('-', dash + 1) != std::string_view::npos) {
            return Failed<ScaleLimitsInput>(LimitProblem::NotARange, whole);
        }
        ToleranceLimits limits;
        for (const bool lower : {true, false}) {
            const LimitInput end = ParseLimitInput(
                lower ? range.substr(0, dash) : range.substr(dash + 1), decimalSeparator);
            if (end.Problem != LimitProblem::None) {
                ScaleLimitsInput failed;
                static_cast<LimitParse&>(failed) = end;
                return failed;
            }
            (lower ? limits.Lower : limits.Upper) = end.Value;
        }
        if (!limits.Any()) {
            return Failed<ScaleLimitsInput>(LimitProblem::NoLimit, whole);
        }
        if (CheckLimits(limits) == LimitsProblem::LowerAboveUpper) {
            return Failed<ScaleLimitsInput>(LimitProblem::LowerAboveUpper, whole);
        }
        result.PerScale[*scale] = limits;
    }
    return result;
}

std::string LimitProblemMessage(const LimitParse& result, char decimalSeparator,
                                const LimitMessageTranslator& translate) {
    const char* text = nullptr;
    switch (result.Problem) {
        case LimitProblem::None:
            return {};
        case LimitProblem::NotANumber:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "限值 %1 不是数值，写作 450 或 %2。(The limit %1 is not a "
                                     "number: write 450 or %2.)");
            break;
        case LimitProblem::GroupedThousands:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "限值 %1 有歧义：写作 1000 或 %2。(The limit %1 is ambiguous: "
                                     "write 1000 or %2.)");
            break;
        case LimitProblem::NoScale:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "%1 缺少硬度制，写作 HL:400-460,HRC:44-46。(%1 names no "
                                     "scale: write HL:400-460,HRC:44-46.)");
            break;
        case LimitProblem::UnknownScale:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "未知的硬度制 %1，可用 HL、HV、HB、HRC、HS、HRB、HRA、"
                                     "strength。(Unknown scale %1: use HL, HV, HB, HRC, HS, HRB, "
                                     "HRA or strength.)");
            break;
        case LimitProblem::RepeatedScale:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "硬度制 %1 的限值给了两次。(The limits of %1 are given "
                                     "twice.)");
            break;
        case LimitProblem::NotARange:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "%1 不是限值范围，写作 HRC:44-46、HRC:44- 或 HRC:-46。(%1 is "
                                     "not a range: write HRC:44-46, HRC:44- or HRC:-46.)");
            break;
        case LimitProblem::NoLimit:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "%1 没有给出限值，写作 HRC:44-46、HRC:44- 或 HRC:-46。(%1 "
                                     "gives no limit: write HRC:44-46, HRC:44- or HRC:-46.)");
            break;
        case LimitProblem::LowerAboveUpper:
            text = QT_TRANSLATE_NOOP("LimitInputText",
                                     "%1 的下限大于上限。(In %1 the lower limit is above the "
                                     "upper.)");
            break;
    }
    if (text == nullptr) {
        return {};
    }
    std::string message = translate ? translate(text) : std::string(text);
    // %1 the part as written, in quotes; %2 a number with the decimals the reader expects.
    const std::string item = "\"" + result.Item + "\"";
    const bool grouped = result.Problem == LimitProblem::GroupedThousands;
    const std::string example = std::string(grouped ? "1" : "45") + decimalSeparator + "5";
    return WithArguments(std::move(message), item, example);
}

}  // namespace leeb
