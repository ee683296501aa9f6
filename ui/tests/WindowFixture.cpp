#include "WindowFixture.h"

#include "BarChart.h"

namespace leeb {

std::vector<double> WindowTest::ChartValues() const {
    std::vector<double> values;
    for (const QPointF& p : form->Chart()->Points())
        values.push_back(p.y());
    return values;
}

}  // namespace leeb
