#include "CliLanguage.h"

#include <QString>
#include <cstdio>

#include "ErrorText.h"

namespace leeb::cli {

namespace {

std::optional<InterfaceLanguage> chosen;

int applicationArgc = 1;
char applicationName[] = "leebdesk-cli";
char* applicationArgv[] = {applicationName, nullptr};

}  // namespace

void SetLanguage(std::optional<InterfaceLanguage> language) {
    chosen = language;
}

std::optional<InterfaceLanguage> Language() {
    return chosen;
}

std::optional<InterfaceLanguage> LanguageAmong(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--")
            break;
        std::string value;
        if (arguments[i] == "--lang" && i + 1 < arguments.size())
            value = arguments[i + 1];
        else if (arguments[i].starts_with("--lang="))
            value = arguments[i].substr(7);
        else
            continue;
        return ParseLanguageName(QString::fromStdString(value));
    }
    return std::nullopt;
}

std::string Say(const std::string& zh, const std::string& en) {
    if (!chosen)
        return zh + "(" + en + ")";
    return *chosen == InterfaceLanguage::Chinese ? zh : en;
}

CliTranslation::CliTranslation(InterfaceLanguage language) {
    if (QCoreApplication::instance() == nullptr)
        application_ = std::make_unique<QCoreApplication>(applicationArgc, applicationArgv);
    const QString folder = QCoreApplication::applicationDirPath();
    translation_ = std::make_unique<InterfaceTranslation>(
        language, ProgramTranslationFolders(folder), QtTranslationFolders(folder));
    for (const QString& missing : translation_->Missing()) {
        std::fprintf(stderr, "leebdesk-cli: %s not found; texts it translates stay untranslated.\n",
                     missing.toLocal8Bit().constData());
    }
}

CliTranslation::~CliTranslation() {
    translation_.reset();  // before the application it was installed in
}

std::string SayError(const std::exception& error) {
    // No translator is installed here: the Chinese wording is the source text itself.
    return Say(ErrorText::Of(error).toStdString(), error.what());
}

}  // namespace leeb::cli
