#include "RecordView.h"

namespace leeb {

RecordView RecordViewFromFields(const RecordTextFields& fields) {
    RecordView view;
    view.Settings = DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord));
    view.OneDecimal = OneDecimalScale(view.Settings);
    view.ImpactCount = fields.ImpactCount;
    view.DateText = fields.DateText;
    view.Statistics = RecordStatistics(view.OneDecimal);
    for (const double reading : fields.Readings) {
        view.Statistics.Add(reading);
    }
    return view;
}

}  // namespace leeb
