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

}  // namespace
}  // namespace leeb::testing
