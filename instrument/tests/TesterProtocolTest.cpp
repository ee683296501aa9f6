#include <gtest/gtest.h>

#include "CommandFrames.h"

#include "TesterProtocol.h"

namespace leeb::test {
namespace {

using leeb::test::Command;

using Reply = TesterProtocol::Reply;

SimulatorRecordSet TwoRecords(std::optional<int> single = std::nullopt) {
    SimulatorRecordSet set;
    SimulatedRecord first;
    first.Number = 1;
    first.Record.ImpactCount = 2;
    first.Record.Readings[0] = 0x01C2;  // 450
    first.Record.Readings[1] = 0x01C3;
    first.Record.SettingsWord = 0x3000;
    first.Record.DateWord = 0x0A28;
    SimulatedRecord second = first;
    second.Number = 517;
    second.Record.Readings[0] = 0x0258;
    set.Records = {first, second};
    set.Single = single;
    return set;
}

TEST(TesterProtocol, CountRepliesPlainAndSingle) {
    TesterProtocol plain(TwoRecords());
    const auto count = Command(0xA8);
    EXPECT_EQ(plain.Answer(count.data(), count.size()), (Reply{0xA8, 0x00, 0x02}));
    TesterProtocol single(TwoRecords(517));
    EXPECT_EQ(single.Answer(count.data(), count.size()), (Reply{0xA8, 0xF2, 0x05}));
}

TEST(TesterProtocol, NineChunksOfTheNamedRecordThenZeros) {
    TesterProtocol tester(TwoRecords());
    std::vector<Reply> replies;
    auto first = Command(0xA9, 0, 1);
    replies.push_back(*tester.Answer(first.data(), first.size()));
    const auto next = Command(0xA9);
    for (int k = 2; k <= 10; ++k) {
        replies.push_back(*tester.Answer(next.data(), next.size()));
    }
    EXPECT_EQ(replies[0], (Reply{0xC2, 0x01, 0xC3, 0x01, 0, 0, 0, 0}));
    EXPECT_EQ(replies[8], (Reply{2, 0, 0x00, 0x30, 0x28, 0x0A, 0, 0}));
    EXPECT_EQ(replies[9], Reply{});  // a tenth chunk has nothing to give

    auto other = Command(0xA9, 0x02, 0x05);
    EXPECT_EQ(tester.Answer(other.data(), other.size()), (Reply{0x58, 0x02, 0xC3, 0x01}));
    auto unknown = Command(0xA9, 0, 9);
    EXPECT_EQ(tester.Answer(unknown.data(), unknown.size()), Reply{});
}

TEST(TesterProtocol, UnknownOrTruncatedCommandsGetNoReply) {
    TesterProtocol tester(TwoRecords());
    const auto unknown = Command(0x55);
    EXPECT_FALSE(tester.Answer(unknown.data(), unknown.size()));
    const auto count = Command(0xA8);
    EXPECT_FALSE(tester.Answer(count.data(), 3));
    EXPECT_FALSE(tester.Answer(nullptr, 0));
}

}  // namespace
}  // namespace leeb::test
