// Where an upload's records go when the archive does not take them: a server that refuses a
// write or goes away mid-upload hands the rest to the local file (pending), and a record that
// neither takes is counted, never passed over in silence.

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <fstream>
#include <functional>
#include <mutex>

#include "ArchiveTestSupport.h"
#include "FileSizeLimit.h"
#include "UploadArchiving.h"

namespace leeb::testing {
namespace {

// The warnings Qt prints while the scope lasts ("Unable to free statement", say).
class QtWarnings {
  public:
    QtWarnings() { previous_ = qInstallMessageHandler(&Collect); }
    ~QtWarnings() { qInstallMessageHandler(previous_); }
    static std::string Text() {
        std::lock_guard lock(Mutex());
        return Collected();
    }

  private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::string& Collected() {
        static std::string text;
        return text;
    }
    static void Collect(QtMsgType, const QMessageLogContext&, const QString& message) {
        std::lock_guard lock(Mutex());
        Collected() += message.toStdString() + "\n";
    }
    QtMessageHandler previous_ = nullptr;
};

// `location` with one more connection parameter.
ArchiveLocation With(const ArchiveLocation& location, const std::string& parameter) {
    const char joint = location.Text.find('?') == std::string::npos ? '?' : '&';
    return {location.Text + joint + parameter};
}

// Runs statements on the server as its superuser, outside any archive.
void OnServer(const ArchiveLocation& server, const std::vector<QString>& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "admin");
        db.setConnectOptions(ServerConnectOptions(server.Text));
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        for (const QString& statement : statements)
            EXPECT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase("admin");
}

std::vector<std::string> FourRecords() {
    return {Line(3, 0x0100, {450, 452}), Line(4, 0x0100, {460, 462}),
            Line(5, 0x0100, {470, 472}), Line(6, 0x0100, {480, 482})};
}

constexpr const char* UploadName = "application_name=leebdesk-upload-under-test";

// The server says no, or goes away, after `fromRecord` records: those before it are on the
// server, it and those after wait in the local file.
struct ServerFault {
    const char* Name;
    int FromRecord;
    std::string Parameter;  // added to the upload's connection
    // Done on the server (as its superuser) before record `FromRecord`.
    std::vector<QString> Before;
};

TEST(UploadFallback, AServerThatRefusesOrGoesAwayLeavesTheRestPendingLocally) {
    const ServerFault faults[] = {
        // A reviewer's read-only role: every write refused (SQLSTATE 25006), the reading fine.
        {"read-only role", 0, "options=-c%20default_transaction_read_only%3Don", {}},
        // An administrator ends the session mid-upload (SQLSTATE 57P01 on the next statement,
        // or the socket closed).
        {"session terminated",
         2,
         "",
         {"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name ="
          " 'leebdesk-upload-under-test'"}},
    };
    for (const ServerFault& fault : faults) {
        SCOPED_TRACE(fault.Name);
        const ArchivePlace server(Backend::Postgres);
        if (!server.Available())
            GTEST_SKIP() << "no test server (" << PostgresVariable << ")";
        OpenArchive(server.Location());  // the tables, made as the owner would
        const ArchiveLocation local{(server.Folder().Path() / "local.sqlite").string()};
        ArchiveLocation upload = With(server.Location(), UploadName);
        if (!fault.Parameter.empty())
            upload = With(upload, fault.Parameter);
        const std::vector<std::string> lines = FourRecords();
        const QtWarnings warnings;
        {
            UploadArchiving archiving(upload, local);
            archiving.Begin("tester", "2025-03-16T08:00:00Z", {}, "lab");
            for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
                if (i == fault.FromRecord)
                    OnServer(server.Location(), fault.Before);
                EXPECT_TRUE(archiving.Add(lines[i], i + 1)) << i << archiving.LastError();
            }
            EXPECT_EQ(archiving.Added(), fault.FromRecord);
            EXPECT_EQ(archiving.Pending(), 4 - fault.FromRecord);
            EXPECT_EQ(archiving.NotArchived(), 0);
            EXPECT_FALSE(archiving.PendingReason().empty());
        }
        EXPECT_EQ(OpenArchive(server.Location())->Count({}), fault.FromRecord);
        EXPECT_EQ(OpenArchive(local)->PendingCount(), 4 - fault.FromRecord);
        // A statement freed inside the transaction the server failed is refused and said.
        EXPECT_EQ(QtWarnings::Text().find("Unable to free statement"), std::string::npos)
            << QtWarnings::Text();
        EXPECT_EQ(SendPending(local, server.Location()), 4 - fault.FromRecord);
        EXPECT_EQ(OpenArchive(server.Location())->Count({}), 4);
    }
}

// A server shutting down or refusing connections for now is a lost connection, whatever the
// driver's text: the records wait. A refusal of the statement itself is a failed write.
TEST(UploadFallback, ServerShutdownStatesCountAsALostConnection) {
    const ArchivePlace server(Backend::Postgres);
    if (!server.Available())
        GTEST_SKIP() << "no test server (" << PostgresVariable << ")";
    SqlArchive archive(server.Location());
    const struct {
        const char* State;
        ArchiveErrorCode Code;
    } cases[] = {
        {"57P01", ArchiveErrorCode::ConnectionLost},  // admin shutdown
        {"57P02", ArchiveErrorCode::ConnectionLost},  // crash shutdown
        {"57P03", ArchiveErrorCode::ConnectionLost},  // cannot connect now
        {"08006", ArchiveErrorCode::ConnectionLost},  // connection failure
        {"", ArchiveErrorCode::ConnectionLost},       // the socket closed, no answer at all
        {"42501", ArchiveErrorCode::WriteFailed},     // insufficient privilege
        {"25006", ArchiveErrorCode::WriteFailed},     // read-only transaction
        {"53100", ArchiveErrorCode::WriteFailed},     // the server's disk full
    };
    for (const auto& c : cases) {
        try {
            archive.Fail(ArchiveErrorCode::WriteFailed,
                         QSqlError("driver", "server", QSqlError::StatementError, c.State));
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.Code, c.Code) << c.State;
        }
    }
    // And as the server sends it: a session ended by an administrator.
    QSqlQuery own(archive.Database());
    ASSERT_FALSE(own.exec("SELECT pg_terminate_backend(pg_backend_pid())"));
    try {
        archive.Fail(ArchiveErrorCode::WriteFailed, own.lastError());
        FAIL() << "Fail returned";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Code, ArchiveErrorCode::ConnectionLost)
            << own.lastError().nativeErrorCode().toStdString() << ": " << error.what();
    }
}

// Neither the archive nor the local file takes a record: Add says so and counts it, and the
// upload goes on (a record that fits later is still taken).
TEST(UploadFallback, RecordsNoArchiveTakesAreCounted) {
    struct Case {
        const char* Name;
        Backend Server;
        // Made before the upload; returns the upload's server and local locations.
        std::function<std::pair<ArchiveLocation, ArchiveLocation>(const ArchivePlace&)> Places;
        bool LimitTheDisk;  // the disk fills once the archive holds a record or two
        bool TerminateAfterTwo;
    };
    // A folder that cannot be made: a file stands where it would be.
    const auto blocked = [](const ArchivePlace& place) {
        const auto blocker = place.Folder().Path() / "blocker";
        std::ofstream(blocker) << "x";
        return ArchiveLocation{(blocker / "local.sqlite").string()};
    };
    const ArchiveLocation unreachable{
        "postgresql:///postgres?host=/nonexistent-leebdesk-socket&port=5432&connect_timeout=1"};
    const Case cases[] = {
        {"a full disk, no server", Backend::Sqlite,
         [](const ArchivePlace& place) {
             return std::pair{place.Location(), place.Location()};
         },
         true, false},
        {"the server away and the local folder cannot be made", Backend::Sqlite,
         [&](const ArchivePlace& place) { return std::pair{unreachable, blocked(place)}; },
         false, false},
        {"the server lost mid-upload and the local folder cannot be made", Backend::Postgres,
         [&](const ArchivePlace& place) {
             return std::pair{With(place.Location(), UploadName), blocked(place)};
         },
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const ArchivePlace place(c.Server);
        if (!place.Available())
            continue;  // no test server here
        const auto [server, local] = c.Places(place);
        std::vector<std::string> lines;
        for (int i = 0; i < 200; ++i)
            lines.push_back(Line(1 + i % 28, 0, {static_cast<uint16_t>(100 + i), 200, 300}));
        int taken = 0;
        {
            UploadArchiving archiving(server, local);
            archiving.Begin("tester", "2025-03-16T08:00:00Z", {}, "lab");
            std::unique_ptr<FileSizeLimit> limit;
            for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
                if (c.LimitTheDisk && i == 1)
                    limit = std::make_unique<FileSizeLimit>(
                        std::filesystem::file_size(local.Text) + 32 * 1024);
                if (c.TerminateAfterTwo && i == 2)
                    OnServer(place.Location(),
                             {"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE"
                              " application_name = 'leebdesk-upload-under-test'"});
                taken += archiving.Add(lines[i], i + 1) ? 1 : 0;
            }
            limit.reset();
            EXPECT_GT(archiving.NotArchived(), 0);
            EXPECT_EQ(taken + archiving.NotArchived(), 200);
            EXPECT_EQ(archiving.Added() + archiving.Pending(), taken);
            EXPECT_FALSE(archiving.LastError().empty());
        }
        if (c.Server == Backend::Postgres || c.LimitTheDisk) {
            EXPECT_EQ(OpenArchive(c.LimitTheDisk ? local : place.Location())->Count({}), taken);
        }
    }
}

}  // namespace
}  // namespace leeb::testing
