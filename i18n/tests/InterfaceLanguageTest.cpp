#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

#include "InterfaceLanguage.h"
#include "InterfaceTranslation.h"

namespace leeb {
namespace {

TEST(InterfaceLanguageTest, SystemLanguagesChooseChineseOrEnglish) {
    struct Case {
        QStringList UiLanguages;
        InterfaceLanguage Expected;
    };
    const Case cases[] = {
        {{"zh-CN", "zh-Hans-CN", "zh"}, InterfaceLanguage::Chinese},
        {{"zh-TW", "zh-Hant-TW"}, InterfaceLanguage::Chinese},
        {{"zh-HK"}, InterfaceLanguage::Chinese},
        {{"C"}, InterfaceLanguage::Chinese},
        {{"POSIX"}, InterfaceLanguage::Chinese},
        {{}, InterfaceLanguage::Chinese},
        {{"en-US", "en"}, InterfaceLanguage::English},
        {{"de-DE", "de"}, InterfaceLanguage::English},
        {{"ja-JP"}, InterfaceLanguage::English},
        // The first language decides, not any later fallback.
        {{"en-GB", "zh-CN"}, InterfaceLanguage::English},
        {{"zh-CN", "en-US"}, InterfaceLanguage::Chinese},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.UiLanguages.join(',').toStdString());
        EXPECT_EQ(LanguageForSystem(c.UiLanguages), c.Expected);
    }
}

TEST(InterfaceLanguageTest, LanguageOptionNames) {
    struct Case {
        const char* Name;
        std::optional<InterfaceLanguage> Expected;
    };
    const Case cases[] = {
        {"zh", InterfaceLanguage::Chinese},
        {"ZH", InterfaceLanguage::Chinese},
        {"en", InterfaceLanguage::English},
        {"En", InterfaceLanguage::English},
        {"", std::nullopt},
        {"de", std::nullopt},
        {"zh_CN", std::nullopt},
        {"english", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ParseLanguageName(QString::fromUtf8(c.Name)), c.Expected);
    }
}

TEST(InterfaceLanguageTest, ShortDateOfTheLanguageKeepsTheUsersOwnWhenItMatches) {
    struct Case {
        InterfaceLanguage Language;
        const char* System;
        const char* Expected;
    };
    const QDate day(2026, 12, 10);
    const Case cases[] = {
        {InterfaceLanguage::Chinese, "C", "2026/12/10"},
        {InterfaceLanguage::Chinese, "zh_CN", "2026/12/10"},
        {InterfaceLanguage::Chinese, "en_US", "2026/12/10"},
        {InterfaceLanguage::English, "zh_CN", "12/10/26"},
        {InterfaceLanguage::English, "de_DE", "12/10/26"},
        {InterfaceLanguage::English, "en_GB", "10/12/2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.System);
        const QLocale locale =
            LocaleForLanguage(c.Language, QLocale(QString::fromLatin1(c.System)));
        EXPECT_EQ(locale.toString(day, QLocale::ShortFormat), QString::fromUtf8(c.Expected));
    }
}

TEST(InterfaceTranslationTest, EachLanguageLoadsItsTranslationAndItsDateLocale) {
    const QStringList folders{QStringLiteral(LEEBDESK_BUILD_TRANSLATIONS)};
    const QStringList qtFolders = QtTranslationFolders(QStringLiteral("/nonexistent"));
    const QLocale before;
    {
        const InterfaceTranslation english(InterfaceLanguage::English, folders, qtFolders);
        EXPECT_TRUE(english.Missing().isEmpty()) << english.Missing().join(' ').toStdString();
        EXPECT_EQ(QCoreApplication::translate("MainWindow", "保存"), QStringLiteral("Save"));
        EXPECT_EQ(QLocale().language(), QLocale::English);
    }
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "保存"), QStringLiteral("保存"));
    EXPECT_EQ(QLocale(), before);
    {
        const InterfaceTranslation chinese(InterfaceLanguage::Chinese, folders, qtFolders);
        EXPECT_TRUE(chinese.Missing().isEmpty()) << chinese.Missing().join(' ').toStdString();
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
        EXPECT_EQ(QCoreApplication::translate("MainWindow", "保存"), QStringLiteral("保存"));
        EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat),
                  QStringLiteral("2026/12/10"));
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST(InterfaceTranslationTest, AMissingTranslationIsNamedAndChangesNoText) {
    const QTemporaryDir empty;
    const QStringList nowhere{empty.path()};
    const InterfaceTranslation english(InterfaceLanguage::English, nowhere, nowhere);
    EXPECT_EQ(english.Missing(), QStringList{QStringLiteral("leebdesk_en.qm")});
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "保存"), QStringLiteral("保存"));
    const InterfaceTranslation chinese(InterfaceLanguage::Chinese, nowhere, nowhere);
    EXPECT_EQ(chinese.Missing(), QStringList{QStringLiteral("qtbase_zh_CN.qm")});
}

TEST(InterfaceTranslationTest, ProgramFoldersBesideTheProgramThenItsShareFolder) {
    EXPECT_EQ(ProgramTranslationFolders(QStringLiteral("/usr/bin")),
              (QStringList{"/usr/bin/translations", "/usr/share/leebdesk/translations"}));
    EXPECT_EQ(QtTranslationFolders(QStringLiteral("C:/leebdesk")).front(),
              QStringLiteral("C:/leebdesk/translations"));
}

}  // namespace
}  // namespace leeb
