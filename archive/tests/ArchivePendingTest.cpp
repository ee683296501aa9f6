// Records that wait in the local archive for a server that cannot be reached: a record the
// local file holds already, from before there was a server, must wait too, or it never
// reaches the server.

#include <gtest/gtest.h>

#include <functional>

#include "ArchiveTestSupport.h"
#include "UploadArchiving.h"

namespace leeb::testing {
namespace {

// A server whose socket folder does not exist: refused at once, no time-out to wait for.
const ArchiveLocation Unreachable{
    "postgresql:///postgres?host=/nonexistent-leebdesk-socket&port=5432&connect_timeout=1"};

TEST(ArchivePending, RecordsTheLocalFileHeldAlreadyWaitForTheServerToo) {
    TempFolder folder;
    const ArchiveLocation local{(folder.Path() / "local.sqlite").string()};
    // Stands in for the server once it answers: SendPending takes any archive.
    const ArchiveLocation server{(folder.Path() / "server.sqlite").string()};
    const std::string known = Line(14, 0x0000, {450, 452});
    const std::string fresh = Line(15, 0x0000, {460, 462});
    const std::string fromFile = Line(16, 0x0000, {470, 472});
    // Archived locally while the workstation had no server.
    OpenArchive(local)->Import(FileSource("before.txt"), Inputs({known, fromFile}), {}, "lab");

    struct Case {
        const char* Name;
        std::function<int()> Run;  // how many the step reports as waiting
        int Waiting;               // the local archive's pending records after it
    };
    const Case steps[] = {
        {"upload",
         [&] {
             UploadArchiving upload(Unreachable, local);
             upload.Begin("tester", "2025-03-16T08:00:00Z", {}, "lab");
             EXPECT_TRUE(upload.Add(known, 1));
             EXPECT_TRUE(upload.Add(fresh, 2));
             EXPECT_TRUE(upload.Add(fresh, 3));  // the second copy within the upload
             return upload.Pending();
         },
         3},
        {"the same upload again adds nothing",
         [&] {
             UploadArchiving upload(Unreachable, local);
             upload.Begin("tester", "2025-03-16T09:00:00Z", {}, "lab");
             for (const std::string& line : {known, fresh, fresh})
                 upload.Add(line, 1);
             EXPECT_EQ(upload.AlreadyArchived(), 3);
             return upload.Pending();
         },
         3},
        {"file import",
         [&] {
             const ImportOutcome outcome = ImportOrKeepPending(
                 Unreachable, local, FileSource("again.txt"), Inputs({fromFile}), {}, "lab");
             EXPECT_TRUE(outcome.Pending);
             return outcome.Summary.Added;
         },
         4},
    };
    int reported = 0;
    for (const Case& step : steps) {
        reported += step.Run();
        EXPECT_EQ(OpenArchive(local)->PendingCount(), step.Waiting) << step.Name;
    }
    EXPECT_EQ(reported, 4);

    EXPECT_EQ(SendPending(local, server), 4);
    EXPECT_EQ(OpenArchive(local)->PendingCount(), 0);
    EXPECT_EQ(OpenArchive(server)->Count({}), 4);
    EXPECT_EQ(SendPending(local, server), 0);
}

class ArchiveSync : public ::testing::TestWithParam<Backend> {};

TEST_P(ArchiveSync, ARecordKeepsItsTimesAndVersionsWhenItReachesTheServer) {
    ArchivePlace server(GetParam());
    if (!server.Available())
        GTEST_SKIP() << PostgresVariable << " names no server: PostgreSQL cases skipped";
    TempFolder folder;
    const ArchiveLocation local{(folder.Path() / "local.sqlite").string()};
    const std::string damaged = Line(14, 0x0000, std::vector<uint16_t>(32, 450));
    const std::string sound = Line(15, 0x0000, {460, 462});
    {
        UploadArchiving upload(Unreachable, local);
        ArchiveLabDetails details;
        details.Lot = "H1";
        upload.Begin("tester", "2025-03-16T08:00:00Z", details, "li");
        ASSERT_TRUE(upload.Add(damaged, 1, 40));
        ASSERT_TRUE(upload.Add(sound, 2));
    }
    auto kept = OpenArchive(local);
    const auto before = kept->Fetch({}, 0, 10);
    ASSERT_EQ(before.size(), 2u);
    ArchiveDetailsChange change;
    change.Lot = "H2";
    kept->Amend({before[1].Id}, change, "zhang", "lot misread");
    const auto localHistory = kept->History(before[1].Id);
    kept.reset();

    EXPECT_EQ(SendPending(local, server.Location()), 2);
    auto archive = OpenArchive(server.Location());
    const auto after = archive->Fetch({}, 0, 10);
    ASSERT_EQ(after.size(), 2u);
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].ArchivedAt, before[i].ArchivedAt) << "first archived, not synced";
        EXPECT_FALSE(after[i].ReachedServerAt.empty());
        EXPECT_GE(after[i].ReachedServerAt, after[i].ArchivedAt);
        EXPECT_EQ(after[i].ArchivedBy, "li");
    }
    EXPECT_EQ(after[0].StoredImpactCount, 40);
    EXPECT_FALSE(after[1].Damaged());
    const auto history = archive->History(after[1].Id);
    ASSERT_EQ(history.size(), 2u);
    for (std::size_t v = 0; v < history.size(); ++v) {
        EXPECT_EQ(history[v].ChangedAt, localHistory[v].ChangedAt);
        EXPECT_EQ(history[v].Author, localHistory[v].Author);
        EXPECT_EQ(history[v].Details, localHistory[v].Details);
        EXPECT_EQ(history[v].Reason, localHistory[v].Reason);
    }
    ArchiveFilter lot;
    lot.Lot = "H2";
    EXPECT_EQ(archive->Count(lot), 1);
    EXPECT_TRUE(archive->Check().empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveSync,
                         ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
                         });

}  // namespace
}  // namespace leeb::testing
