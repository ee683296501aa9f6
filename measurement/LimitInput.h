#pragma once
// Tolerance limits as a user writes them: one limit typed into a field or given after --lower,
// and a list of limits per scale, "HL:400-460,HRC:44-46" (either end may be left out:
// "HRC:44-", "HB:-250").
//
// The decimal separator is '.' or the one of the user's number settings. A comma (or, where the
// decimal separator is ',', a point) followed by exactly three digits is refused: "1,000" is a
// thousand to one reader and 1.0 to another, and a limit read the wrong way fails good records.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "RecordEvaluation.h"

namespace leeb {

enum class LimitProblem {
    None,
    NotANumber,
    GroupedThousands,  // "1,000": a thousands separator or a decimal one
    NoScale,           // a list entry without "SCALE:"
    UnknownScale,
    RepeatedScale,
    NotARange,  // "HL:450": no '-' between the ends, or more than one
    NoLimit,    // "HL:-"
    LowerAboveUpper,
};

struct LimitParse {
    LimitProblem Problem = LimitProblem::None;
    std::string Item;  // the part the problem is in, as written
};

struct LimitInput : LimitParse {
    std::optional<double> Value;  // none for an empty text
};

// One limit; blanks around it are ignored, an empty text is no limit.
LimitInput ParseLimitInput(std::string_view typed, char decimalSeparator);

struct ScaleLimitsInput : LimitParse {
    std::map<std::string, ToleranceLimits> PerScale;  // by ScaleKey
};

// The scale names are those of ScaleKey ("HL", "HRC", ..., "strength"), in any case.
ScaleLimitsInput ParseScaleLimits(std::string_view text, char decimalSeparator);

// The problem in words (Chinese, then English). `translate`, when given, turns the marked text
// into the interface language's; the part as written and the examples are put in after.
using LimitMessageTranslator = std::function<std::string(const char* text)>;
std::string LimitProblemMessage(const LimitParse& result, char decimalSeparator,
                                const LimitMessageTranslator& translate = {});

}  // namespace leeb
