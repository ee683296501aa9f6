#include "CodeTableText.h"

#include <QCoreApplication>

namespace leeb {

QString CodeTableText(const std::string& name) {
    return QCoreApplication::translate("CodeTables", name.c_str());
}

}  // namespace leeb
