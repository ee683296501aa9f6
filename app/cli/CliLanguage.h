#pragma once
// The language of leebdesk-cli's output when --lang names one: the translator of the window's
// texts, with an application object when the command has none of its own. Without --lang the
// output is the window's Chinese and needs neither; the messages carry both languages.

#include <QCoreApplication>
#include <memory>

#include "InterfaceLanguage.h"
#include "InterfaceTranslation.h"

namespace leeb::cli {

class CliTranslation {
  public:
    explicit CliTranslation(InterfaceLanguage language);
    ~CliTranslation();
    CliTranslation(const CliTranslation&) = delete;
    CliTranslation& operator=(const CliTranslation&) = delete;

    // --lang named a language and its translation is in use: texts come in that language.
    static bool Active() { return active_ > 0; }

  private:
    static inline int active_ = 0;
    std::unique_ptr<QCoreApplication> application_;
    std::unique_ptr<InterfaceTranslation> translation_;
};

}  // namespace leeb::cli
