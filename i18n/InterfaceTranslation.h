#pragma once
// Puts the application into one interface language for as long as the object lives: the
// program's English translation, or Qt's own Chinese one for the standard dialogs and buttons
// (the program's source texts are Chinese already), and the language's locale as the default
// one for dates. Make it after the QCoreApplication and before the first window.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include "InterfaceLanguage.h"

namespace leeb {

// Where the program's .qm files may be, in the order searched: "translations" beside the
// executable (the build tree, the Windows folder), then share/leebdesk/translations of the
// prefix it is installed in.
QStringList ProgramTranslationFolders(const QString& executableFolder);

// Where Qt's own .qm files may be: "translations" beside the executable (the Windows folder
// ships them there), then Qt's installed translations.
QStringList QtTranslationFolders(const QString& executableFolder);

class InterfaceTranslation {
  public:
    InterfaceTranslation(InterfaceLanguage language, const QStringList& programFolders,
                         const QStringList& qtFolders);
    ~InterfaceTranslation();
    InterfaceTranslation(const InterfaceTranslation&) = delete;
    InterfaceTranslation& operator=(const InterfaceTranslation&) = delete;

    InterfaceLanguage Language() const { return language_; }
    // The translation files that were wanted but found in none of the folders; the program
    // then shows those texts untranslated and should say so.
    const QStringList& Missing() const { return missing_; }

  private:
    void Load(QTranslator& translator, const QString& name, const QStringList& folders);

    InterfaceLanguage language_;
    QLocale previousDefault_;
    QTranslator program_;
    QTranslator qt_;
    QStringList missing_;
};

}  // namespace leeb
