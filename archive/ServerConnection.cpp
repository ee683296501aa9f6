#include "ServerConnection.h"

#include <libpq-fe.h>

#include <QStringList>
#include <memory>
#include <string_view>
#include <vector>

#include "Archive.h"

namespace leeb {
namespace {

QString Quoted(const char* value) {
    QString text = QString::fromUtf8(value);
    text.replace("\\", "\\\\");
    text.replace("'", "\\'");
    return "'" + text + "'";
}

}  // namespace

QString ServerConnectOptions(const std::string& location) {
    char* error = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(location.c_str(), &error);
    if (parsed == nullptr) {
        const std::string detail = error != nullptr ? error : "out of memory";
        PQfreemem(error);
        throw ArchiveError(ArchiveErrorCode::CannotOpen, detail);
    }
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> owner(parsed, PQconninfoFree);
    QStringList pairs;
    bool timeoutGiven = false;
    for (const PQconninfoOption* option = parsed; option->keyword != nullptr; ++option) {
        if (option->val == nullptr)
            continue;
        const QString keyword = QString::fromUtf8(option->keyword);
        if (keyword == "connect_timeout") {
            const int seconds = QString::fromUtf8(option->val).toInt();
            if (seconds <= 0 || seconds > ServerConnectTimeoutSeconds)
                continue;
            timeoutGiven = true;
        }
        pairs << keyword + "=" + Quoted(option->val);
    }
    if (!timeoutGiven)
        pairs << QString("connect_timeout=%1").arg(ServerConnectTimeoutSeconds);
    // The driver joins its options with ';' and turns every ';' into a blank.
    return pairs.join(';');
}

bool ServerAnswers(const std::string& location) {
    PQconninfoOption* parsed = PQconninfoParse(location.c_str(), nullptr);
    if (parsed == nullptr)
        return false;
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> owner(parsed, PQconninfoFree);
    std::vector<const char*> keywords, values;
    const std::string timeout = std::to_string(ServerConnectTimeoutSeconds);
    for (const PQconninfoOption* option = parsed; option->keyword != nullptr; ++option) {
        if (option->val == nullptr || std::string_view(option->keyword) == "connect_timeout")
            continue;
        keywords.push_back(option->keyword);
        values.push_back(option->val);
    }
    keywords.push_back("connect_timeout");
    values.push_back(timeout.c_str());
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    return PQpingParams(keywords.data(), values.data(), 0) == PQPING_OK;
}

}  // namespace leeb
