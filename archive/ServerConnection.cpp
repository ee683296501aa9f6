#include "ServerConnection.h"

#include <libpq-fe.h>

#include <QLibrary>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <type_traits>
#include <vector>

#include "Archive.h"
#include "LocationPassword.h"

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
    // COPY on the driver's own connection.
    decltype(&PQexec) Exec = nullptr;
    decltype(&PQputCopyData) PutCopyData = nullptr;
    decltype(&PQputCopyEnd) PutCopyEnd = nullptr;
    decltype(&PQgetResult) GetResult = nullptr;
    decltype(&PQresultStatus) ResultStatus = nullptr;
    decltype(&PQresultErrorField) ResultErrorField = nullptr;
    decltype(&PQerrorMessage) ErrorMessage = nullptr;
    decltype(&PQclear) Clear = nullptr;
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
              resolve(loaded.PingParams, "PQpingParams") && resolve(loaded.Exec, "PQexec") &&
              resolve(loaded.PutCopyData, "PQputCopyData") &&
              resolve(loaded.PutCopyEnd, "PQputCopyEnd") &&
              resolve(loaded.GetResult, "PQgetResult") &&
              resolve(loaded.ResultStatus, "PQresultStatus") &&
              resolve(loaded.ResultErrorField, "PQresultErrorField") &&
              resolve(loaded.ErrorMessage, "PQerrorMessage") && resolve(loaded.Clear, "PQclear"))) {
            loaded = Libpq{};
            loaded.LoadError = library.fileName() + " lacks a function leebdesk uses";
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

using ParsedOptions = std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)>;

[[noreturn]] void Refuse(const std::string& location, const std::string& reason) {
    std::string why = reason;
    while (!why.empty() && (why.back() == '\n' || why.back() == '.'))
        why.pop_back();
    throw ArchiveError(ArchiveErrorCode::BadLocation,
                       MaskedLocation(location) + ": " + WithoutPasswords(why, location));
}

// libpq knows its URI schemes in small letters only; in any other case it would read the
// location as a key=value string and refuse it.
std::string AsLibpqTakesIt(const std::string& location) {
    if (!IsServerUri(location))
        return location;
    std::string text = location;
    for (std::size_t i = 0; i < text.size() && text[i] != ':'; ++i)
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return text;
}

ParsedOptions Parsed(const Libpq& libpq, const std::string& location) {
    char* error = nullptr;
    PQconninfoOption* parsed = libpq.ConninfoParse(AsLibpqTakesIt(location).c_str(), &error);
    if (parsed == nullptr) {
        const std::string detail = error != nullptr ? error : "out of memory";
        libpq.FreeMem(error);
        Refuse(location, detail);
    }
    return ParsedOptions(parsed, libpq.ConninfoFree);
}

// As libpq reads an integer option: blanks around a number, nothing else.
std::optional<long> Integer(std::string_view text) {
    const std::string value(text);
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || errno == ERANGE)
        return std::nullopt;
    while (*end != '\0' && std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end != '\0')
        return std::nullopt;
    return number;
}

std::vector<std::string_view> CommaItems(std::string_view text) {
    std::vector<std::string_view> items;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return items;
        start = comma + 1;
    }
}

// The values libpq checks only when it connects, where a wrong one would be taken for a
// server that does not answer. The keywords are those libpq 15 and later know; one this
// libpq does not know never gets here (the parse refuses it).
std::optional<std::string> ValueProblem(std::string_view keyword, std::string_view value) {
    static const std::set<std::string_view> integers = {
        "connect_timeout", "keepalives", "keepalives_idle", "keepalives_interval",
        "keepalives_count", "tcp_user_timeout"};
    static const std::vector<std::pair<std::string_view, std::set<std::string_view>>> choices = {
        {"sslmode", {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"}},
        {"gssencmode", {"disable", "prefer", "require"}},
        {"channel_binding", {"disable", "prefer", "require"}},
        {"target_session_attrs",
         {"any", "read-write", "read-only", "primary", "standby", "prefer-standby"}},
        {"load_balance_hosts", {"disable", "random"}},
        {"sslnegotiation", {"postgres", "direct"}},
    };
    const std::string quoted = "\"" + std::string(value) + "\"";
    if (keyword == "port") {
        for (std::string_view port : CommaItems(value)) {
            if (port.empty())
                continue;
            const auto number = Integer(port);
            if (!number || *number < 1 || *number > 65535)
                return "invalid port number: \"" + std::string(port) + "\"";
        }
    } else if (integers.contains(keyword)) {
        if (!Integer(value))
            return "invalid integer value " + quoted + " for connection option \"" +
                   std::string(keyword) + "\"";
    } else {
        for (const auto& [name, allowed] : choices)
            if (keyword == name && !allowed.contains(value))
                return "invalid " + std::string(keyword) + " value: " + quoted;
    }
    return std::nullopt;
}

QString Quoted(const char* value) {
    QString text = QString::fromUtf8(value);
    text.replace("\\", "\\\\");
    text.replace("'", "\\'");
    return "'" + text + "'";
}

}  // namespace

void CheckServerLocation(const std::string& location) {
    const ParsedOptions parsed = Parsed(LibpqOrThrow(), location);
    std::size_t hosts = 1, ports = 1;
    for (const PQconninfoOption* option = parsed.get(); option->keyword != nullptr; ++option) {
        if (option->val == nullptr)
            continue;
        const std::string_view keyword = option->keyword;
        if (const auto problem = ValueProblem(keyword, option->val))
            Refuse(location, *problem);
        if (keyword == "host" || keyword == "hostaddr")
            hosts = std::max(hosts, CommaItems(option->val).size());
        else if (keyword == "port")
            ports = CommaItems(option->val).size();
    }
    if (ports > 1 && ports != hosts)
        Refuse(location, "could not match " + std::to_string(ports) + " port numbers to " +
                             std::to_string(hosts) + " hosts");
}

QString ServerConnectOptions(const std::string& location) {
    CheckServerLocation(location);
    const ParsedOptions parsed = Parsed(LibpqOrThrow(), location);
    QStringList pairs;
    bool timeoutGiven = false;
    for (const PQconninfoOption* option = parsed.get(); option->keyword != nullptr; ++option) {
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
    PQconninfoOption* parsed = libpq.ConninfoParse(AsLibpqTakesIt(location).c_str(), nullptr);
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

CopyOutcome CopyIntoServer(const QVariant& driverHandle, const std::string& statement,
                           const QByteArray& rows) {
    const Libpq& libpq = LibpqOrThrow();
    // Qt's PostgreSQL driver hands its connection out as "PGconn*" (named "pg_conn*" after
    // the struct's tag by some Qt builds); it has no result pending between two of its
    // queries, so the connection may carry a COPY of ours in between.
    const char* type = driverHandle.isValid() ? driverHandle.typeName() : nullptr;
    if (type == nullptr || (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0))
        return {false, "", std::string("no PostgreSQL connection handle: ") +
                               (type != nullptr ? type : "none")};
    PGconn* connection = *static_cast<PGconn* const*>(driverHandle.data());
    const auto failure = [&](PGresult* result) {
        CopyOutcome outcome{false, "", libpq.ErrorMessage(connection)};
        if (result != nullptr) {
            if (const char* state = libpq.ResultErrorField(result, PG_DIAG_SQLSTATE))
                outcome.SqlState = state;
            libpq.Clear(result);
        }
        // Whatever the server still says about the COPY is read, so the connection is free.
        while (PGresult* rest = libpq.GetResult(connection))
            libpq.Clear(rest);
        return outcome;
    };
    PGresult* started = libpq.Exec(connection, statement.c_str());
    if (started == nullptr || libpq.ResultStatus(started) != PGRES_COPY_IN)
        return failure(started);
    libpq.Clear(started);
    // In slices: libpq buffers what it cannot send at once.
    constexpr qsizetype Slice = 1 << 20;
    for (qsizetype at = 0; at < rows.size(); at += Slice) {
        const int size = static_cast<int>(std::min(Slice, rows.size() - at));
        if (libpq.PutCopyData(connection, rows.constData() + at, size) != 1) {
            libpq.PutCopyEnd(connection, "leebdesk: the rows could not be sent");
            return failure(nullptr);
        }
    }
    if (libpq.PutCopyEnd(connection, nullptr) != 1)
        return failure(nullptr);
    PGresult* ended = libpq.GetResult(connection);
    if (ended == nullptr || libpq.ResultStatus(ended) != PGRES_COMMAND_OK)
        return failure(ended);
    libpq.Clear(ended);
    while (PGresult* rest = libpq.GetResult(connection))
        libpq.Clear(rest);
    return {true, "", ""};
}

}  // namespace leeb
