#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "FileSizeLimit.h"
#include "RecordFile.h"
#include "TempFolder.h"

namespace leeb {
namespace {

namespace fs = std::filesystem;

class RecordFileOnDisk : public testing::Test {
  protected:
    TempFolder folder;
    const RecordLines lines = {std::string(RecordFileHeader),
                               "  3,2008/05/17,    0,  450,  452,  448,",
                               "  2,2008/05/17,12288,045.3,088.8,"};
};

TEST_F(RecordFileOnDisk, RoundTrip) {
    const std::string path = folder.File("records.txt");
    WriteRecordFile(path, lines);
    EXPECT_EQ(TempFolder::Read(path),
              "@Import Data@\r\n  3,2008/05/17,    0,  450,  452,  448,\r\n"
              "  2,2008/05/17,12288,045.3,088.8,\r\n");
    const RecordLines back = ReadRecordFile(path);
    EXPECT_EQ(back, lines);
    EXPECT_TRUE(HeaderTest(back));
    EXPECT_EQ(ParseRecordLine(back[1], '.').Readings, (std::vector<double>{450, 452, 448}));
    EXPECT_EQ(ParseRecordLine(back[2], '.').Readings, (std::vector<double>{45.3, 88.8}));
}

TEST_F(RecordFileOnDisk, ReplacesOldContentAndLeavesNoTemporaryFile) {
    const std::string path = folder.File("records.txt");
    TempFolder::Write(path, std::string(100000, 'x'));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteRecordFile(path, {"@Import Data@"});
    EXPECT_EQ(TempFolder::Read(path), "@Import Data@\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST_F(RecordFileOnDisk, EmptyLinesWriteAnEmptyFile) {
    const std::string path = folder.File("empty.txt");
    WriteRecordFile(path, {});
    EXPECT_EQ(TempFolder::Read(path), "");
    EXPECT_TRUE(ReadRecordFile(path).empty());
    EXPECT_FALSE(HeaderTest(ReadRecordFile(path)));
}

TEST_F(RecordFileOnDisk, FailedWriteKeepsTheOldFile) {
    // A file size limit makes the write itself fail (EFBIG) deterministically, even as root.
    const std::string path = folder.File("records.txt");
    const std::string old = "@Import Data@\r\n  1,2008/05/17,    0,  450,\r\n";
    TempFolder::Write(path, old);
    RecordLines big = lines;
    big.resize(200, lines[1]);

    std::string message;
    {
        const FileSizeLimit limit(1024);
        try {
            WriteRecordFile(path, big);
        } catch (const RecordFileError& e) {
            message = e.what();
        }
    }

    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("too large"), std::string::npos) << message;
    EXPECT_EQ(TempFolder::Read(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST_F(RecordFileOnDisk, FailedRenameKeepsWhatIsThere) {
    // The target is a folder with a file in it: the rename fails and the folder stays.
    const std::string path = folder.File("records.txt");
    fs::create_directory(path);
    TempFolder::Write(path + "/inside", "kept");
    EXPECT_THROW(WriteRecordFile(path, lines), RecordFileError);
    EXPECT_EQ(TempFolder::Read(path + "/inside"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST_F(RecordFileOnDisk, WritingThroughALinkReplacesTheLinkedFile) {
    // Replacing the link itself would leave the linked file with the old records and turn the
    // link into a separate copy.
    const struct {
        const char* name;
        bool targetExists;
        std::vector<std::pair<std::string, std::string>> links;  // link name -> link text
    } cases[] = {
        {"Relative", true, {{"link.txt", "data/records.txt"}}},
        {"Absolute", true, {{"link.txt", "<folder>/data/records.txt"}}},
        {"Chain", true, {{"link.txt", "second.txt"}, {"second.txt", "data/records.txt"}}},
        {"Dangling", false, {{"link.txt", "data/records.txt"}}},
    };
    for (const auto& c : cases) {
        TempFolder scratch;
        fs::create_directory(scratch.Path() / "data");
        const std::string target = scratch.File("data/records.txt");
        if (c.targetExists) {
            TempFolder::Write(target, "@Import Data@\r\n  1,2008/05/17,    0,  450,\r\n");
        }
        for (const auto& [name, text] : c.links) {
            std::string linkText = text;
            if (linkText.rfind("<folder>", 0) == 0) {
                linkText.replace(0, 8, scratch.Path().string());
            }
            fs::create_symlink(linkText, scratch.Path() / name);
        }
        WriteRecordFile(scratch.File("link.txt"), lines);
        EXPECT_TRUE(fs::is_symlink(scratch.Path() / "link.txt")) << c.name;
        EXPECT_EQ(ReadRecordFile(target), lines) << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Path() / "data"),
                                fs::directory_iterator()),
                  1)
            << c.name;
    }
}

TEST_F(RecordFileOnDisk, LinkLoopFailsAndNamesTheGivenFile) {
    const std::string path = folder.File("loop.txt");
    fs::create_symlink("loop.txt", path);
    try {
        WriteRecordFile(path, lines);
        FAIL() << "no error";
    } catch (const RecordFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot write file '" + path + "': " + std::strerror(ELOOP));
    }
    EXPECT_TRUE(fs::is_symlink(path));
}

TEST_F(RecordFileOnDisk, WriteIntoMissingFolderFails) {
    const std::string path = folder.File("missing/records.txt");
    try {
        WriteRecordFile(path, lines);
        FAIL() << "no error";
    } catch (const RecordFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot write file '" + path + "': No such file or directory");
    }
}

TEST_F(RecordFileOnDisk, ReadFailures) {
    const std::string missing = folder.File("missing.txt");
    try {
        ReadRecordFile(missing);
        FAIL() << "no error";
    } catch (const RecordFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot read file '" + missing + "': No such file or directory");
    }
    EXPECT_THROW(ReadRecordFile(folder.Path().string()), RecordFileError);  // a folder
}

TEST_F(RecordFileOnDisk, ReadStopsAtNul) {
    using namespace std::string_literals;
    const std::string path = folder.File("nul.txt");
    TempFolder::Write(path, "@Import Data@\r\nab\0cd\r\nef"s + std::string(200000, 'x'));
    EXPECT_EQ(ReadRecordFile(path), (RecordLines{"@Import Data@", "ab"}));
}

TEST_F(RecordFileOnDisk, LineEndVariantsReadAlike) {
    const std::string body = "@Import Data@|  1,2008/05/17,    0,  450,";
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        for (const bool endAfterLast : {true, false}) {
            std::string content = body;
            content.replace(content.find('|'), 1, end);
            if (endAfterLast) {
                content += end;
            }
            const std::string path = folder.File("ends.txt");
            TempFolder::Write(path, content);
            EXPECT_EQ(ReadRecordFile(path),
                      (RecordLines{"@Import Data@", "  1,2008/05/17,    0,  450,"}));
        }
    }
}

}  // namespace
}  // namespace leeb
