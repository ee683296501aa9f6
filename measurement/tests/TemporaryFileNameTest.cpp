// The temporary file's name beside the file it replaces.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace leeb
