#include "LocaleDecimalSeparator.h"

#include <QString>

namespace leeb {

char DecimalSeparator(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.front().unicode() > 0x20 && point.front().unicode() < 0x7f) {
        return static_cast<char>(point.front().unicode());
    }
    return '.';
}

}  // namespace leeb
