#include "LimitInputText.h"

#include <QCoreApplication>

namespace leeb {

QString LimitInputText::Of(const LimitParse& result, char decimalSeparator) {
    return QString::fromStdString(
        LimitProblemMessage(result, decimalSeparator, [](const char* text) {
            return QCoreApplication::translate("LimitInputText", text).toStdString();
        }));
}

}  // namespace leeb
