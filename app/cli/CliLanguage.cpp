#include "CliLanguage.h"

#include <QString>
#include <cstdio>

namespace leeb::cli {

namespace {

int applicationArgc = 1;
char applicationName[] = "leebdesk-cli";
char* applicationArgv[] = {applicationName, nullptr};

}  // namespace

CliTranslation::CliTranslation(InterfaceLanguage language) {
    if (QCoreApplication::instance() == nullptr)
        application_ = std::make_unique<QCoreApplication>(applicationArgc, applicationArgv);
    const QString folder = QCoreApplication::applicationDirPath();
    translation_ = std::make_unique<InterfaceTranslation>(
        language, ProgramTranslationFolders(folder), QtTranslationFolders(folder));
    ++active_;
    for (const QString& missing : translation_->Missing()) {
        std::fprintf(stderr, "leebdesk-cli: %s not found; texts it translates stay untranslated.\n",
                     missing.toLocal8Bit().constData());
    }
}

CliTranslation::~CliTranslation() {
    --active_;
    translation_.reset();  // before the application it was installed in
}

}  // namespace leeb::cli
