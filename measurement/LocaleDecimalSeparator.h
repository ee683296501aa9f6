#pragma once
// The decimal separator of the user's number settings, as record lines and number texts use it.

#include <QLocale>

namespace leeb {

// The decimal separator of the locale, or '.' when it is not a single printable ASCII
// character (record lines store single bytes).
char DecimalSeparator(const QLocale& locale = QLocale::system());

}  // namespace leeb
