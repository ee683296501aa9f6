#include "ChartLibrary.h"

#include <QtCharts/qtchartsversion.h>

namespace leeb {

QString ChartLibraryName() {
    return QStringLiteral("Qt Charts " QTCHARTS_VERSION_STR);
}

}  // namespace leeb
