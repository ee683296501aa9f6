// The temporary file's name beside the file it replaces.
#include <gtest/gtest.h>

#include <optional>

#include "AtomicFileWrite.h"

namespace leeb {
namespace {

TEST(AtomicFileWriter, TemporaryNamesFitTheLimit) {
    const std::string chinese = "测量记录";  // 12 bytes in UTF-8
    const struct {
        std::string target;
        std::size_t nameMax;
        std::string expected;
    } cases[] = {
        {"records.txt", 255, ".records.txt.42.tmp"},
        {std::string(255, 'a'), 255, "." + std::string(247, 'a') + ".42.tmp"},
        {"records.txt", 12, ".reco.42.tmp"},
        // Cut between characters, never inside one.
        {chinese, 13, ".测.42.tmp"},
        {"records.txt", 4, ".42"},
    };
    for (const auto& c : cases) {
        const std::string name = TemporaryFileName(c.target, "42", c.nameMax);
        EXPECT_EQ(name, c.expected) << c.target << " " << c.nameMax;
        EXPECT_LE(name.size(), c.nameMax);
    }
}

// A temporary file is taken for one of the target only when the target's own rule makes that
// very name; the writer's id is read from it.
TEST(AtomicFileWriter, TemporaryNamesNameTheirWriter) {
    EXPECT_EQ(TemporaryUniquePart(4711, 42), "4711-000042");
    EXPECT_EQ(TemporaryUniquePart(4711, 1234567), "4711-234567");
    const std::string longName(300, 'a');
    const struct {
        std::string candidate;
        std::string target;
        std::size_t nameMax;
        std::optional<unsigned long> writer;
    } cases[] = {
        {".records.txt.4711-000042.tmp", "records.txt", 255, 4711},
        {TemporaryFileName(longName, "4711-000042", 255), longName, 255, 4711},
        {TemporaryFileName("records.txt", "4711-000042", 20), "records.txt", 20, 4711},
        // Shortened for another limit, or another target: not this target's.
        {TemporaryFileName("records.txt", "4711-000042", 20), "records.txt", 255, std::nullopt},
        {".records.txt.4711-000042.tmp", "records", 255, std::nullopt},
        {".records.txt.4711-000042.tmp", "records.txt.4711-000042", 255, std::nullopt},
        {".other.txt.4711-000042.tmp", "records.txt", 255, std::nullopt},
        // No writer's id, or not the writer's shape.
        {".records.txt.042817.tmp", "records.txt", 255, std::nullopt},
        {".records.txt.4711-42.tmp", "records.txt", 255, std::nullopt},
        {".records.txt.-000042.tmp", "records.txt", 255, std::nullopt},
        {".records.txt.47-11-000042.tmp", "records.txt", 255, std::nullopt},
        {".records.txt.4711-000042.tmp.bak", "records.txt", 255, std::nullopt},
        {"records.txt", "records.txt", 255, std::nullopt},
        {".records.txt.99999999999999999999999-000042.tmp", "records.txt", 255, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TemporaryWriterId(c.candidate, c.target, c.nameMax), c.writer) << c.candidate;
    }
}

}  // namespace
}  // namespace leeb
