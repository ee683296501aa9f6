#pragma once
// The language of leebdesk-cli's messages and output: by default the messages carry both
// (Chinese, English in brackets) and the output is Chinese, as the window's; --lang zh|en
// chooses one for both. Set once by main before a command runs.

#include <QCoreApplication>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "InterfaceLanguage.h"
#include "InterfaceTranslation.h"

namespace leeb::cli {

void SetLanguage(std::optional<InterfaceLanguage> language);
std::optional<InterfaceLanguage> Language();

// The language --lang names among the arguments, if any and valid; the parser reports a bad
// one. Looked at first, so that even a usage error is said in that language.
std::optional<InterfaceLanguage> LanguageAmong(const std::vector<std::string>& arguments);

// "<zh>(<en>)" by default; zh or en alone when a language was chosen.
std::string Say(const std::string& zh, const std::string& en);

// The translator of the chosen language for as long as it lives, with an application object
// when the command has none of its own.
class CliTranslation {
  public:
    explicit CliTranslation(InterfaceLanguage language);
    ~CliTranslation();
    CliTranslation(const CliTranslation&) = delete;
    CliTranslation& operator=(const CliTranslation&) = delete;

  private:
    std::unique_ptr<QCoreApplication> application_;
    std::unique_ptr<InterfaceTranslation> translation_;
};

// A failure of the record layer as Say would put it: worded from its parts in Chinese, its
// own English message in English.
std::string SayError(const std::exception& error);

}  // namespace leeb::cli
