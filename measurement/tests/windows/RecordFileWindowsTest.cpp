// Files on Windows: UTF-8 names, replacing through ReplaceFileW / MoveFileExW, devices and
// folders refused, and failures that leave what was there and name the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../TempFolder.h"
#include "AtomicFileWrite.h"
#include "OutputFileName.h"
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
        FileProblem problem;
        int systemError;
    } cases[] = {
        {"read-only file", readOnly, readOnly, FileProblem::CannotWrite, EACCES},
        {"a folder of that name", aFolder, aFolder + "\\inside", FileProblem::NotARegularFile,
         EISDIR},
        {"missing folder", folder.File("missing\\records.txt"), "", FileProblem::CannotWrite,
         ENOENT},
    };
    for (const auto& c : cases) {
        std::string message;
        try {
            WriteRecordFile(c.path, lines);
            ADD_FAILURE() << c.name << ": written";
        } catch (const RecordFileError& e) {
            message = e.what();
            EXPECT_EQ(e.Problem(), c.problem) << c.name;
            EXPECT_EQ(e.SystemError(), c.systemError) << c.name;
            EXPECT_EQ(e.Path(), c.path) << c.name;
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

    const struct {
        std::string path;
        FileProblem problem;
        int systemError;
    } cases[] = {
        {folder.File("missing.txt"), FileProblem::CannotOpen, ENOENT},
        {folder.File("missing\\records.txt"), FileProblem::CannotOpen, ENOENT},
        {folder.Path().string(), FileProblem::IsAFolder, EISDIR},
    };
    for (const auto& c : cases) {
        try {
            ReadRecordFile(c.path);
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const RecordFileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot read file '" + c.path + "': ", 0), 0u)
                << e.what();
            EXPECT_EQ(e.Problem(), c.problem) << c.path;
            EXPECT_EQ(e.SystemError(), c.systemError) << c.path;
        }
    }
}

TEST_F(RecordFileOnWindows, DevicesPipesAndFoldersAreRefusedAndKept) {
    fs::create_directory(folder.Path() / "folder");
    const struct {
        std::string path;
        bool refused;
    } cases[] = {
        {"NUL", true},
        {"con", true},
        {folder.File("NUL"), true},
        {folder.File("nul.txt"), true},  // a device as well on most versions of Windows
        {folder.File("Com1"), true},
        {folder.File("lpt9.log"), true},
        {folder.File("AUX "), true},
        {"\\\\.\\pipe\\leebdesk-test", true},
        {"\\\\.\\COM1", true},
        {folder.File("folder"), true},
        // Names that only resemble a device are files.
        {folder.File("null"), false},
        {folder.File("console.txt"), false},
        {folder.File("COM10"), false},
        {folder.File("LPT"), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNonRegularFile(c.path), c.refused) << c.path;
        try {
            ReplaceFileContent(c.path, "records");
            EXPECT_FALSE(c.refused) << c.path << ": written";
            EXPECT_EQ(TempFolder::Read(c.path), "records") << c.path;
            fs::remove(c.path);
        } catch (const RecordFileError& e) {
            EXPECT_TRUE(c.refused) << c.path << ": " << e.what();
            EXPECT_EQ(e.Problem(), FileProblem::NotARegularFile) << c.path;
            EXPECT_EQ(e.Path(), c.path);
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(fs::is_directory(folder.Path() / "folder"));
    EXPECT_EQ(Entries(), 1u) << "no temporary file left";
}

TEST_F(RecordFileOnWindows, OutputNamesTakeEitherSlash) {
    fs::create_directory(folder.Path() / "v1.2");
    const struct {
        std::string given;
        std::string expected;
    } cases[] = {
        {folder.File("v1.2\\report"), folder.File("v1.2\\report.pdf")},
        {folder.File("v1.2") + "/report", folder.File("v1.2") + "/report.pdf"},
        {folder.File("report.PDF"), folder.File("report.PDF")},
        // A device keeps its name, so that the writer refuses it by that name.
        {folder.File("NUL"), folder.File("NUL")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithDefaultExtension(c.given, ".pdf"), c.expected) << c.given;
    }
}

TEST_F(RecordFileOnWindows, ANameThatUsesTheFolderLimitCanBeSaved) {
    // The temporary name is shortened to fit beside it.
    for (const std::size_t length : {254u, 255u}) {
        const std::string path = folder.File(std::string(length - 4, 'r') + ".txt");
        WriteRecordFile(path, {"@Import Data@"});
        EXPECT_EQ(TempFolder::Read(path), "@Import Data@\r\n") << length;
        WriteRecordFile(path, {"@Import Data@", ""});
        EXPECT_EQ(TempFolder::Read(path), "@Import Data@\r\n\r\n") << length;
        fs::remove(path);
        EXPECT_EQ(Entries(), 0u) << length;
    }
}

TEST_F(RecordFileOnWindows, OnlyACommittedWriterReplacesTheFile) {
    const std::string path = folder.File("out.csv");
    TempFolder::Write(path, "old content");
    {
        AtomicFileWriter writer(path);
        EXPECT_TRUE(writer.Write("half a report"));
        EXPECT_TRUE(fs::exists(writer.TemporaryPath()));
        EXPECT_EQ(TempFolder::Read(path), "old content");
    }
    EXPECT_EQ(TempFolder::Read(path), "old content");
    EXPECT_EQ(Entries(), 1u);

    AtomicFileWriter writer(path);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(writer.Write(std::string(100000, static_cast<char>('a' + i))));
    }
    writer.Commit();
    EXPECT_EQ(TempFolder::Read(path),
              std::string(100000, 'a') + std::string(100000, 'b') + std::string(100000, 'c'));
    EXPECT_EQ(Entries(), 1u);
    EXPECT_THROW(writer.Commit(), RecordFileError) << "committed once only";
    EXPECT_FALSE(writer.Write("more"));
}

TEST_F(RecordFileOnWindows, WritingThroughALinkReplacesTheLinkedFile) {
    fs::create_directory(folder.Path() / "data");
    const std::string target = folder.File("data\\records.txt");
    TempFolder::Write(target, "old");
    const std::string link = folder.File("link.txt");
    // Wine reports success without making a link.
    if (!::CreateSymbolicLinkA(link.c_str(), target.c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
        !fs::is_symlink(link)) {
        GTEST_SKIP() << "no symbolic links here";
    }
    WriteRecordFile(link, lines);
    EXPECT_EQ(TempFolder::Read(target), content);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Entries(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path() / "data"), {}), 1);
}

}  // namespace
}  // namespace leeb
