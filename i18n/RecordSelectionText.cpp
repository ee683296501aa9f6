#include "RecordSelectionText.h"

namespace leeb {

QString RecordSelectionText::Of(const RecordSelectionResult& result, std::size_t recordCount) {
    return QString::fromStdString(RecordSelectionMessage(result, recordCount, [](const char* text) {
        return QCoreApplication::translate("RecordSelectionText", text).toStdString();
    }));
}

}  // namespace leeb
