#include "QualitySettings.h"

namespace leeb {

std::string ScaleKey(const DecodedSettings& settings) {
    if (settings.StrengthMode != 0) {
        return "strength";
    }
    std::string text = ScaleText(settings);
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    if (text.empty() || text.front() == '?') {
        return std::string("scale").append(std::to_string(settings.ScaleIndex));
    }
    return text;
}

EvaluationOptions QualitySettings::For(const DecodedSettings& settings) const {
    EvaluationOptions options;
    options.ExcludeInvalid = ExcludeInvalid;
    options.EachReading = EachReading;
    if (ForAll) {
        options.Limits = *ForAll;
    } else if (const auto found = PerScale.find(ScaleKey(settings)); found != PerScale.end()) {
        options.Limits = found->second;
    }
    return options;
}

bool QualitySettings::Active() const {
    if (ExcludeInvalid || EachReading || (ForAll && ForAll->Any())) {
        return true;
    }
    for (const auto& [key, limits] : PerScale) {
        if (limits.Any()) {
            return true;
        }
    }
    return false;
}

}  // namespace leeb
