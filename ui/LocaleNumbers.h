#pragma once
// Numbers in the user's regional settings: the decimal separator that record lines and every
// number text use, and the bar marks' "#,##0.###" pattern.

#include <QLocale>
#include <QString>

#include "LocaleDecimalSeparator.h"

namespace leeb {

// "#,##0.###": thousands grouped, at most three decimals, no trailing zeros.
QString BarMarkText(double value, const QLocale& locale = QLocale::system());

}  // namespace leeb
