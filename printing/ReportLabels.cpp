#include "ReportLabels.h"

#include <QCoreApplication>
#include <QLocale>

#include "GbkText.h"

namespace leeb {

QString PageLabel(int page) {
    return QStringLiteral("\u3000") +
           QCoreApplication::translate("ReportLabels", "第  %1  页").arg(page);
}

QString DateLabel(const QString& printDate) {
    return QCoreApplication::translate("ReportLabels", "日期:   ") + printDate +
           QStringLiteral("   ");
}

QString PrintDateText(const QDate& date) {
    // The default locale is the interface language's (set with the translation at start). The
    // English short forms differ by country (12/10/26, 10/12/2026): a report that travels
    // carries the one form every reader takes the same way.
    const QLocale locale;
    if (locale.language() == QLocale::Chinese) {
        return locale.toString(date, QLocale::ShortFormat);
    }
    return date.toString(Qt::ISODate);
}

std::string Blanks(int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), ' ') : std::string();
}

std::string ReportLabel(const char* source) {
    const std::string label = QCoreApplication::translate("ReportGenerator", source).toStdString();
    return label + Blanks(static_cast<int>(GbkLength(source)) - static_cast<int>(GbkLength(label)));
}

std::string FillTo16(const std::string& text) {
    return text + Blanks(16 - static_cast<int>(GbkLength(text)));
}

}  // namespace leeb
