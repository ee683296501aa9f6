// Replacing an output file whole or not at all: what may be replaced, the temporary file's
// name, and writes that fail part-way.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include "AtomicFileWrite.h"
#include "FileSizeLimit.h"
#include "OutputFileName.h"
#include "RecordFile.h"
#include "TempFolder.h"

namespace leeb {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFileWriter, TargetsThatAreNoRegularFileAreRefusedAndKept) {
    TempFolder folder;
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = folder.File("socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_directory(folder.File("folder"));
    fs::create_symlink("fifo", folder.File("link-to-fifo"));

    // Device nodes are refused the same way; none is made here, as that needs privileges, and
    // a test must never risk replacing the system's own.
    for (const std::string& target :
         {fifo, socketPath, folder.File("folder"), folder.File("link-to-fifo")}) {
        const fs::file_type before = fs::status(target).type();
        try {
            ReplaceFileContent(target, "records");
            ADD_FAILURE() << target << ": written";
        } catch (const RecordFileError& e) {
            EXPECT_EQ(e.Problem(), FileProblem::NotARegularFile) << target;
            EXPECT_EQ(e.Path(), target);
            EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
        }
        EXPECT_EQ(fs::status(target).type(), before) << target;
        EXPECT_TRUE(IsNonRegularFile(target)) << target;
    }
    ::close(listener);
    EXPECT_EQ(EntriesIn(folder.Path()), 4u) << "no temporary file left";
    EXPECT_FALSE(IsNonRegularFile(folder.File("missing")));
}

TEST(AtomicFileWriter, ANameThatUsesTheFolderLimitCanBeSaved) {
    TempFolder folder;
    const long nameMax = ::pathconf(folder.Path().c_str(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 20);
    for (const std::size_t length :
         {static_cast<std::size_t>(nameMax) - 1, static_cast<std::size_t>(nameMax)}) {
        const std::string name = std::string(length - 4, 'r') + ".txt";
        const std::string path = folder.File(name);
        WriteRecordFile(path, {"@Import Data@"});
        EXPECT_EQ(TempFolder::Read(path), "@Import Data@\r\n") << length;
        WriteRecordFile(path, {"@Import Data@", ""});  // replacing it works as well
        EXPECT_EQ(TempFolder::Read(path), "@Import Data@\r\n\r\n") << length;
        fs::remove(path);
        EXPECT_EQ(EntriesIn(folder.Path()), 0u) << length;
    }
}

TEST(AtomicFileWriter, AWriteThatFailsPartWayKeepsTheOldFile) {
    // A file size limit makes the disk "full" after 64 KiB: the write fails with EFBIG part-way
    // through, as on a disk that fills up.
    TempFolder folder;
    const std::string path = folder.File("out.csv");
    TempFolder::Write(path, "old content");
    std::optional<RecordFileError> failure;
    {
        const FileSizeLimit limit(64 * 1024);
        try {
            AtomicFileWriter writer(path);
            const std::string block(16 * 1024, 'x');
            for (int i = 0; i < 8; ++i) {
                writer.Write(block);
            }
            writer.Commit();
        } catch (const RecordFileError& e) {
            failure = e;
        }
    }

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Problem(), FileProblem::CannotWrite);
    EXPECT_EQ(failure->SystemError(), EFBIG);
    EXPECT_EQ(TempFolder::Read(path), "old content");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicFileWriter, AnUncommittedWriterLeavesNothing) {
    TempFolder folder;
    const std::string path = folder.File("out.pdf");
    {
        AtomicFileWriter writer(path);
        writer.Write("half a report");
        EXPECT_TRUE(fs::exists(writer.TemporaryPath()));
    }
    EXPECT_EQ(EntriesIn(folder.Path()), 0u);
}

TEST(OutputFileNames, TheExtensionIsAddedToANameWithoutDot) {
    TempFolder folder;
    fs::create_directory(folder.File("v1.2"));
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    const struct {
        std::string given;
        std::string expected;
    } cases[] = {
        {folder.File("report"), folder.File("report.pdf")},
        {folder.File("report.pdf"), folder.File("report.pdf")},
        {folder.File("report.PDF"), folder.File("report.PDF")},
        {folder.File("v1.2/report"), folder.File("v1.2/report.pdf")},
        {"report", "report.pdf"},
        // An existing FIFO or device keeps its name, so that the writer refuses it by that name.
        {folder.File("fifo"), folder.File("fifo")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithDefaultExtension(c.given, ".pdf"), c.expected) << c.given;
    }
}

}  // namespace
}  // namespace leeb
