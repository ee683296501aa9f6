#pragma once
// The one language the interface speaks in a run: Chinese, the program's own, or English for
// everyone else. Chosen from the system's interface languages unless the command line names
// one.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace leeb {

enum class InterfaceLanguage { Chinese, English };

// Chinese when the first interface language is Chinese (any script or country) and in the
// C/POSIX locale, which names no language; English for every other one.
// uiLanguages: as QLocale::system().uiLanguages() gives them, most preferred first.
InterfaceLanguage LanguageForSystem(const QStringList& uiLanguages);

// The value of --lang: "zh" or "en", in either case. Nothing for any other value.
std::optional<InterfaceLanguage> ParseLanguageName(const QString& name);

// The locale that formats dates for the language: the system's own when it speaks that
// language, so the user's short date stays; else the language's usual one (mainland Chinese,
// US English).
QLocale LocaleForLanguage(InterfaceLanguage language, const QLocale& system);

}  // namespace leeb
