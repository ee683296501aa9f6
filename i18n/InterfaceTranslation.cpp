#include "InterfaceTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace leeb {

namespace {

const QString ProgramEnglish = QStringLiteral("leebdesk_en");
const QString QtChinese = QStringLiteral("qtbase_zh_CN");

}  // namespace

QStringList ProgramTranslationFolders(const QString& executableFolder) {
    const QDir folder(executableFolder);
    return {folder.filePath(QStringLiteral("translations")),
            QDir::cleanPath(folder.filePath(QStringLiteral("../share/leebdesk/translations")))};
}

QStringList QtTranslationFolders(const QString& executableFolder) {
    return {QDir(executableFolder).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

InterfaceTranslation::InterfaceTranslation(InterfaceLanguage language,
                                           const QStringList& programFolders,
                                           const QStringList& qtFolders)
    : language_(language) {
    if (language == InterfaceLanguage::English)
        Load(program_, ProgramEnglish, programFolders);
    else
        Load(qt_, QtChinese, qtFolders);
    QLocale::setDefault(LocaleForLanguage(language, QLocale::system()));
}

InterfaceTranslation::~InterfaceTranslation() {
    QCoreApplication::removeTranslator(&program_);
    QCoreApplication::removeTranslator(&qt_);
    QLocale::setDefault(previousDefault_);
}

void InterfaceTranslation::Load(QTranslator& translator, const QString& name,
                                const QStringList& folders) {
    for (const QString& folder : folders) {
        if (translator.load(name, folder)) {
            QCoreApplication::installTranslator(&translator);
            return;
        }
    }
    missing_.append(name + QStringLiteral(".qm"));
}

}  // namespace leeb
