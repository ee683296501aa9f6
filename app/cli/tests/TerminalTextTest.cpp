// What reaches a terminal of a text that may hold anything: control characters and bytes that
// are no UTF-8 spelled out, every other character kept.

#include <gtest/gtest.h>

#include <string>

#include "TerminalText.h"

namespace leeb::cli {
namespace {

TEST(TerminalTextTest, SpellsOutWhatATerminalWouldActOn) {
    const struct {
        const char* Name;
        std::string Text;
        const char* Shown;
    } cases[] = {
        {"ChineseAndAsciiKept", "张三 HRC 45.3", "张三 HRC 45.3"},
        {"LineBreaksAndTabs", "a\nb\r\tc", "a\\x0Ab\\x0D\\x09c"},
        {"EscapeAndBell", "\x1b[2J\x07", "\\x1B[2J\\x07"},
        {"Delete", "x\x7f", "x\\x7F"},
        {"C1ControlByItsCode", "\xc2\x9b" "31m", "\\x9B31m"},
        {"NoBreakSpaceIsNoControl", "\xc2\xa0", "\xc2\xa0"},
        {"NulInside", std::string("a\0b", 3), "a\\x00b"},
        {"StrayContinuationByte", "\x80z", "\\x80z"},
        {"SequenceCutShort", "\xe5\xbc", "\\xE5\\xBC"},
        {"OverlongSlash", "\xc0\xaf", "\\xC0\\xAF"},
        {"Surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
        {"PastTheLastCode", "\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"FourByteCharacterKept", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
        {"Backslash", "a\\x1B", "a\\x5Cx1B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalSafe(c.Text), c.Shown) << c.Name;
    }
    EXPECT_EQ(TerminalSafe("C:\\data\n", Backslash::Kept), "C:\\data\\x0A");
}

TEST(TerminalTextTest, FindsTheFirstByteThatIsNoUtf8) {
    const struct {
        const char* Name;
        std::string Text;
        std::size_t At;
    } cases[] = {
        {"Empty", "", std::string::npos},
        {"AsciiAndControls", "a\n\x1b", std::string::npos},
        {"Chinese", "钢和铸钢", std::string::npos},
        {"Latin1Byte", "caf\xe9", 3},
        {"CutShortAtTheEnd", "ab\xc3", 2},
        {"LeadWithoutFollower", "\xe4z\xb8", 0},
        {"Overlong", "\xe0\x80\xaf", 0},
        {"NeverALead", "ok\xff", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstNonUtf8Byte(c.Text), c.At) << c.Name;
    }
}

}  // namespace
}  // namespace leeb::cli
