#include "WindowFixture.h"

#include "BarChart.h"

namespace leeb {

SimulatorRecordSet WindowTest::Records(int count) {
    SimulatorRecordSet set;
    for (int r = 1; r <= count; ++r) {
        SimulatedRecord record;
        record.Number = r;
        record.Record.ImpactCount = 3;
        record.Record.Readings = {static_cast<uint16_t>(440 + r), 450, 460};
        record.Record.SettingsWord = 2;
        record.Record.DateWord = static_cast<uint16_t>(24 | 5 << 7 | 17 << 11);
        set.Records.push_back(record);
    }
    return set;
}

std::vector<double> WindowTest::ChartValues() const {
    std::vector<double> values;
    for (const QPointF& p : form->Chart()->Points())
        values.push_back(p.y());
    return values;
}

}  // namespace leeb
