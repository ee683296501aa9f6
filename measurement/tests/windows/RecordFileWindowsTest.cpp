// The record file on Windows: UTF-8 names, replacing through ReplaceFileW / MoveFileExW, and
// failures that leave what was there and name the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../TempFolder.h"
#include "RecordFile.h"

namespace leeb {
namespace {

namespace fs = std::filesystem;

class RecordFileOnWindows : public testing::Test {
  protected:
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
    }
    // The UTF-8 form of a name in the folder, as the program passes file names.
    std::string Utf8File(const std::u8string& name) const {
        const std::u8string full = (folder.Path() / fs::path(name)).u8string();
        return std::string(full.begin(), full.end());
    }

    TempFolder folder;
    const RecordLines lines = {std::string(RecordFileHeader),
                               "  3,2008/05/17,    0,  450,  452,  448,"};
    const std::string content = "@Import Data@\r\n  3,2008/05/17,    0,  450,  452,  448,\r\n";
};

TEST_F(RecordFileOnWindows, WritesNewAndReplacesOldFilesUnderAnyName) {
    for (const std::u8string name : {u8"records.txt", u8"硬度记录.txt"}) {
        const std::string path = Utf8File(name);
        const fs::path native = folder.Path() / fs::path(name);
        std::ofstream(native, std::ios::binary) << "old content";
        WriteRecordFile(path, lines);
        std::ifstream in(native, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
        in.close();
        EXPECT_EQ(ReadRecordFile(path), lines);
        fs::remove(native);
        WriteRecordFile(path, lines);  // no file there yet
        EXPECT_EQ(ReadRecordFile(path), lines);
        fs::remove(native);
    }
    EXPECT_EQ(Entries(), 0u) << "no temporary file left";
}

TEST_F(RecordFileOnWindows, ReplacingKeepsTheFileAttributes) {
    const std::string path = folder.File("hidden.txt");
    TempFolder::Write(path, "old");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    if ((::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0) {
        GTEST_SKIP() << "this file system keeps no hidden attribute";
    }
    WriteRecordFile(path, lines);
    EXPECT_EQ(TempFolder::Read(path), content);
    EXPECT_NE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(RecordFileOnWindows, AFailedWriteLeavesWhatWasThereAndNamesTheFile) {
    const std::string readOnly = folder.File("readonly.txt");
    TempFolder::Write(readOnly, "kept");
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string aFolder = folder.File("folder.txt");
    fs::create_directory(aFolder);
    TempFolder::Write(aFolder + "\\inside", "kept");
    const struct {
        const char* name;
        std::string path;
        std::string keptFile;
    } cases[] = {
        {"read-only file", readOnly, readOnly},
        {"a folder of that name", aFolder, aFolder + "\\inside"},
        {"missing folder", folder.File("missing\\records.txt"), ""},
    };
    for (const auto& c : cases) {
        std::string message;
        try {
            WriteRecordFile(c.path, lines);
        } catch (const RecordFileError& e) {
            message = e.what();
        }
        EXPECT_EQ(message.rfind("Cannot write file '" + c.path + "': ", 0), 0u)
            << c.name << ": " << message;
        if (!c.keptFile.empty()) {
            EXPECT_EQ(TempFolder::Read(c.keptFile), "kept") << c.name;
        }
    }
    EXPECT_EQ(Entries(), 2u) << "no temporary file left";
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RecordFileOnWindows, ReadingStopsAtNulAndFailsClearly) {
    using namespace std::string_literals;
    const std::string path = folder.File("zero.txt");
    TempFolder::Write(path, "@Import Data@\r\nab\0cd\r\nef"s + std::string(200000, 'x'));
    EXPECT_EQ(ReadRecordFile(path), (RecordLines{"@Import Data@", "ab"}));

    for (const std::string& bad : {folder.File("missing.txt"), folder.Path().string()}) {
        try {
            ReadRecordFile(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const RecordFileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot read file '" + bad + "': ", 0), 0u)
                << e.what();
        }
    }
}

}  // namespace
}  // namespace leeb
