#include "ChartLibrary.h"

#include <qcustomplot.h>

namespace leeb {

QString ChartLibraryName() {
    return QStringLiteral("QCustomPlot " QCUSTOMPLOT_VERSION_STR);
}

}  // namespace leeb
