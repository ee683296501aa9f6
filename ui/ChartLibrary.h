#pragma once
// The name and version of the library that draws Chart1, for the About box.

#include <QString>

namespace leeb {

QString ChartLibraryName();

}  // namespace leeb
