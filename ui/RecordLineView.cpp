#include "RecordLineView.h"

namespace leeb {

RecordLineView ReadRecordLineView(std::string_view line, char decimalSeparator) {
    const RecordTextFields fields = ParseRecordLine(line, decimalSeparator);
    RecordLineView result{RecordViewFromFields(fields), {}};
    result.Bars.reserve(fields.Readings.size());
    for (std::size_t i = 0; i < fields.Readings.size(); ++i) {
        result.Bars.emplace_back(static_cast<double>(i + 1), fields.Readings[i]);
    }
    return result;
}

}  // namespace leeb
