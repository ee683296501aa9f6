#include "ServerConnection.h"

#include <libpq-fe.h>

#include <QLibrary>
#include <QStringList>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "Archive.h"

namespace leeb {
namespace {

// libpq, with the TLS, Kerberos and LDAP libraries it brings along, took a third of the
// window's start-up when the programs were linked with it, although most workstations never
// name a server. It is loaded the first time a server location is used; Qt's PostgreSQL
// driver loads the same library for the connection itself.
struct Libpq {
    decltype(&PQconninfoParse) ConninfoParse = nullptr;
    decltype(&PQconninfoFree) ConninfoFree = nullptr;
    decltype(&PQfreemem) FreeMem = nullptr;
    decltype(&PQpingParams) PingParams = nullptr;
    QString LoadError;
};

const Libpq& LoadedLibpq() {
    static const Libpq libpq = [] {
        Libpq loaded;
        // "libpq.so.5" here, "libpq.dll" on Windows (where the version is not part of the name).
        QLibrary library(QStringLiteral("libpq"), 5);
        if (!library.load()) {
            loaded.LoadError = library.errorString();
            return loaded;
        }
        const auto resolve = [&library](auto& entry, const char* name) {
            entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(
                library.resolve(name));
            return entry != nullptr;
        };
        if (!(resolve(loaded.ConninfoParse, "PQconninfoParse") &&
              resolve(loaded.ConninfoFree, "PQconninfoFree") &&
              resolve(loaded.FreeMem, "PQfreemem") &&
              resolve(loaded.PingParams, "PQpingParams"))) {
            loaded = Libpq{};
            loaded.LoadError = library.fileName() +
                               " lacks PQconninfoParse, PQconninfoFree, PQfreemem or PQpingParams";
        }
        return loaded;  // never unloaded: the driver keeps using it
    }();
    return libpq;
}

const Libpq& LibpqOrThrow() {
    const Libpq& libpq = LoadedLibpq();
    if (libpq.ConninfoParse == nullptr)
        throw ArchiveError(ArchiveErrorCode::CannotOpen,
                           "the PostgreSQL client library (libpq) cannot be loaded: " +
                               libpq.LoadError.toStdString());
    return libpq;
}

QString Quoted(const char* value) {
    QString text = QString::fromUtf8(value);
    text.replace("\\", "\\\\");
    text.replace("'", "\\'");
    return "'" + text + "'";
}

}  // namespace

QString ServerConnectOptions(const std::string& location) {
    const Libpq& libpq = LibpqOrThrow();
    char* error = nullptr;
    PQconninfoOption* parsed = libpq.ConninfoParse(location.c_str(), &error);
    if (parsed == nullptr) {
        const std::string detail = error != nullptr ? error : "out of memory";
        libpq.FreeMem(error);
        throw ArchiveError(ArchiveErrorCode::CannotOpen, detail);
    }
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> owner(parsed,
                                                                         libpq.ConninfoFree);
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
    const Libpq& libpq = LoadedLibpq();
    // Without libpq nothing tells a server that is down from one this program cannot talk to:
    // say it answers, so that the caller reports why instead of waiting for it.
    if (libpq.ConninfoParse == nullptr)
        return true;
    PQconninfoOption* parsed = libpq.ConninfoParse(location.c_str(), nullptr);
    if (parsed == nullptr)
        return false;
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> owner(parsed,
                                                                         libpq.ConninfoFree);
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
    return libpq.PingParams(keywords.data(), values.data(), 0) == PQPING_OK;
}

}  // namespace leeb
