#include "InterfaceLanguage.h"

namespace leeb {

namespace {

QLocale::Language LanguageOf(const QString& name) {
    return QLocale(name).language();
}

}  // namespace

InterfaceLanguage LanguageForSystem(const QStringList& uiLanguages) {
    if (uiLanguages.isEmpty())
        return InterfaceLanguage::Chinese;
    const QString& first = uiLanguages.front();
    // "C" and "POSIX" are not names QLocale maps to its C locale in every version: test them.
    if (first == QLatin1String("C") || first == QLatin1String("POSIX"))
        return InterfaceLanguage::Chinese;
    switch (LanguageOf(first)) {
        case QLocale::Chinese:
        case QLocale::C:
            return InterfaceLanguage::Chinese;
        default:
            return InterfaceLanguage::English;
    }
}

std::optional<InterfaceLanguage> ParseLanguageName(const QString& name) {
    if (name.compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0)
        return InterfaceLanguage::Chinese;
    if (name.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return InterfaceLanguage::English;
    return std::nullopt;
}

QLocale LocaleForLanguage(InterfaceLanguage language, const QLocale& system) {
    const QLocale::Language wanted =
        language == InterfaceLanguage::Chinese ? QLocale::Chinese : QLocale::English;
    if (system.language() == wanted)
        return system;
    return language == InterfaceLanguage::Chinese
               ? QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China)
               : QLocale(QLocale::English, QLocale::UnitedStates);
}

}  // namespace leeb
