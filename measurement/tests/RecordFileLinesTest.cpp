// Splitting a record file into lines, from memory and as the reader gets the file in blocks.
#include <gtest/gtest.h>

#include "RecordFile.h"
#include "RecordFileReader.h"
#include "TempFolder.h"

namespace leeb {
namespace {

TEST(SplitRecordContentLines, LineEnds) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string content;
        RecordLines lines;
    } cases[] = {
        {"CrLf", "a\r\nb\r\n", {"a", "b"}},
        {"LfOnly", "a\nb\n", {"a", "b"}},
        {"CrOnly", "a\rb\r", {"a", "b"}},
        {"Mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"NoEndAfterLast", "a\r\nb", {"a", "b"}},
        {"EmptyLineIsALine", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"BlankLineAtTheEnd", "a\r\n\r\n", {"a", ""}},
        {"LfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
        {"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
        {"OnlyALineEnd", "\r\n", {""}},
        {"Empty", "", {}},
        {"NulEndsContent", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
        {"NulFirst", "\0a\r\n"s, {}},
        {"NulAfterLineEnd", "a\r\n\0\r\n"s, {"a"}},
    };
    TempFolder folder;
    const std::string path = folder.File("lines.txt");
    // The same lines with a block's worth of text in front: line ends and a NUL that fall on
    // the border between two blocks of the reader.
    const std::string filler(MaxRecordFileLineLength - 2, 'f');
    for (const auto& c : cases) {
        EXPECT_EQ(SplitRecordContent(c.content), c.lines) << c.name;
        TempFolder::Write(path, c.content);
        EXPECT_EQ(ReadRecordFile(path), c.lines) << c.name << " read from a file";
        for (const std::size_t shift : {0, 1, 2}) {
            const std::string front(filler.size() + shift, 'f');
            TempFolder::Write(path, front + "\n" + c.content);
            RecordLines expected{front};
            expected.insert(expected.end(), c.lines.begin(), c.lines.end());
            EXPECT_EQ(ReadRecordFile(path), expected) << c.name << " after a long line " << shift;
        }
    }
}

TEST(RecordFileReaderLines, CrLfSplitBetweenBlocksIsOneLineEnd) {
    TempFolder folder;
    const std::string path = folder.File("blocks.txt");
    // The reader reads 64 KiB blocks: the CR is the last byte of the first block.
    const std::string first(64 * 1024 - 1, 'a');
    TempFolder::Write(path, first + "\r\nb\r\n");
    EXPECT_EQ(ReadRecordFile(path), (RecordLines{first, "b"}));
}

}  // namespace
}  // namespace leeb
