#include "LocaleNumbers.h"

namespace leeb {

QString BarMarkText(double value, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    QString text = grouped.toString(value, 'f', 3);
    const QString point = grouped.decimalPoint();
    const qsizetype at = text.lastIndexOf(point);
    if (at >= 0) {
        const QString zero = grouped.zeroDigit();
        while (text.size() > at + point.size() && text.endsWith(zero)) {
            text.chop(zero.size());
        }
        if (text.size() == at + point.size())
            text.truncate(at);
    }
    // A tiny negative value rounds to "-0".
    if (text == grouped.negativeSign() + grouped.zeroDigit())
        text = grouped.zeroDigit();
    return text;
}

}  // namespace leeb
