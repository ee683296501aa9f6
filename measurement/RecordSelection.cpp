#include "RecordSelection.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "MessageArguments.h"
#include "TranslationMarks.h"

namespace leeb {

namespace {

// Full-width forms in UTF-8: "，" U+FF0C, "－" U+FF0D, "、" U+3001 (list comma).
std::string Normalised(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("\xEF\xBC\x8C") || rest.starts_with("\xE3\x80\x81")) {
            out += ',';
            i += 2;
        } else if (rest.starts_with("\xEF\xBC\x8D")) {
            out += '-';
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ReadNumber(std::string_view text, std::size_t& value) {
    text = Trimmed(text);
    if (text.empty()) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

}  // namespace

namespace {

// recordCount: none when only the list's own form is checked (no records are then chosen).
RecordSelectionResult Parse(std::string_view text, std::optional<std::size_t> recordCount) {
    using Problem = RecordSelectionResult::Problem;
    RecordSelectionResult result;
    const std::string normal = Normalised(text);
    std::vector<bool> chosen(recordCount ? *recordCount + 1 : 0, false);
    bool any = false;
    std::size_t start = 0;
    while (start <= normal.size()) {
        std::size_t end = normal.find(',', start);
        if (end == std::string::npos) {
            end = normal.size();
        }
        const std::string_view item = Trimmed(std::string_view(normal).substr(start, end - start));
        start = end + 1;
        if (item.empty()) {
            continue;
        }
        auto fail = [&](Problem problem) {
            result.Error = problem;
            result.Item = std::string(item);
            result.Records.clear();
            return result;
        };
        std::size_t first = 0;
        std::size_t last = 0;
        const auto dash = item.find('-');
        if (dash == std::string_view::npos) {
            if (!ReadNumber(item, first)) {
                return fail(Problem::NotANumber);
            }
            last = first;
        } else if (!ReadNumber(item.substr(0, dash), first) ||
                   !ReadNumber(item.substr(dash + 1), last)) {
            return fail(Problem::NotANumber);
        }
        if (first == 0 || last == 0) {
            return fail(Problem::Zero);
        }
        if (last < first) {
            return fail(Problem::Descending);
        }
        if (!recordCount) {
            any = true;
            continue;
        }
        if (last > *recordCount) {
            return fail(Problem::BeyondLast);
        }
        for (std::size_t r = first; r <= last; ++r) {
            chosen[r] = true;
        }
        any = true;
    }
    if (!any) {
        result.Error = Problem::Empty;
        return result;
    }
    for (std::size_t r = 1; r < chosen.size(); ++r) {
        if (chosen[r]) {
            result.Records.push_back(r);
        }
    }
    return result;
}

}  // namespace

RecordSelectionResult ParseRecordSelection(std::string_view text, std::size_t recordCount) {
    return Parse(text, recordCount);
}

RecordSelectionResult CheckRecordSelectionForm(std::string_view text) {
    return Parse(text, std::nullopt);
}

std::string RecordSelectionMessage(const RecordSelectionResult& result, std::size_t recordCount,
                                   const MessageTranslator& translate) {
    using Problem = RecordSelectionResult::Problem;
    const char* text = nullptr;
    switch (result.Error) {
        case Problem::None:
            return {};
        case Problem::Empty:
            text = QT_TRANSLATE_NOOP(
                "RecordSelectionText",
                "没有选择任何记录。(No record chosen; write numbers and ranges like 1-5,9.)");
            break;
        case Problem::NotANumber:
            text = QT_TRANSLATE_NOOP("RecordSelectionText",
                                     "记录选择 %1 不是记录号或范围。(%1 is not a record number or "
                                     "a range like 1-5.)");
            break;
        case Problem::Zero:
            text = QT_TRANSLATE_NOOP("RecordSelectionText",
                                     "记录号从 1 开始。(Record numbers start at 1: %1.)");
            break;
        case Problem::Descending:
            text = QT_TRANSLATE_NOOP("RecordSelectionText",
                                     "范围 %1 的起点大于终点。(The range %1 runs backwards.)");
            break;
        case Problem::BeyondLast:
            text = QT_TRANSLATE_NOOP(
                "RecordSelectionText",
                "记录选择 %1 超出最后一条记录 %2。(%1 goes past the last record, %2.)");
            break;
    }
    if (text == nullptr)
        return {};
    std::string message = translate ? translate(text) : std::string(text);
    // %1 the part as written (in quotes), %2 the last record's number.
    const std::string item = "\"" + result.Item + "\"";
    const std::string last = std::to_string(recordCount);
    return WithArguments(std::move(message), item, last);
}

}  // namespace leeb
