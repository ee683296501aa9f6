#include <gtest/gtest.h>

#include "LocaleNumbers.h"

namespace leeb {
namespace {

TEST(LocaleNumbersTest, BarMarksFollowTheGroupedThreeDecimalPattern) {
    struct Case {
        const char* Locale;
        double Value;
        const char* Text;
    };
    const Case cases[] = {
        {"C", 450, "450"},        {"C", 45.3, "45.3"},
        {"C", 1234.5, "1,234.5"}, {"C", 0.12345, "0.123"},
        {"C", 2.0005, "2.001"},   {"C", 0, "0"},
        {"C", -0.0001, "0"},      {"de_DE", 1234.5, "1.234,5"},
        {"de_DE", 88.8, "88,8"},  {"fr_FR", 1234.25, "1\u202f234,25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Locale) + " " + std::to_string(c.Value));
        EXPECT_EQ(BarMarkText(c.Value, QLocale(QString::fromLatin1(c.Locale))),
                  QString::fromUtf8(c.Text));
    }
}

TEST(LocaleNumbersTest, DecimalSeparatorIsTheLocalesOrAPoint) {
    EXPECT_EQ(DecimalSeparator(QLocale::c()), '.');
    EXPECT_EQ(DecimalSeparator(QLocale("de_DE")), ',');
    // Arabic writes a separator outside ASCII: record lines fall back to the point.
    EXPECT_EQ(DecimalSeparator(QLocale("ar_EG")), '.');
}

}  // namespace
}  // namespace leeb
