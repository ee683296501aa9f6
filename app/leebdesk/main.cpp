// leebdesk: the window program.

#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "FontSetup.h"
#include "InterfaceTranslation.h"
#include "LinuxHidPlatform.h"
#include "QtGuiDispatcher.h"
#include "ReportFonts.h"
#include "SimulatedHidBus.h"
#include "StartOptions.h"
#include "TForm1.h"
#include "TesterSimulator.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("leebdesk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEEBDESK_VERSION));

    leeb::StartOptions options;
    try {
        options = leeb::ParseStartOptions(QCoreApplication::arguments());
    } catch (const leeb::StartOptionsError& error) {
        std::cerr << error.what() << "\n" << leeb::StartUsage();
        return 1;
    }
    if (options.What == leeb::StartOptions::Action::ShowHelp) {
        std::cout << leeb::StartUsage();
        return 0;
    }
    if (options.What == leeb::StartOptions::Action::ShowVersion) {
        std::cout << "leebdesk " << LEEBDESK_VERSION << "\n";
        return 0;
    }

    // One language for the whole run, set before the first window or message exists.
    const leeb::InterfaceTranslation translation(
        options.Language.value_or(leeb::LanguageForSystem(QLocale::system().uiLanguages())),
        leeb::ProgramTranslationFolders(QCoreApplication::applicationDirPath()),
        leeb::QtTranslationFolders(QCoreApplication::applicationDirPath()));
    for (const QString& missing : translation.Missing()) {
        std::cerr << "leebdesk: " << missing.toStdString()
                  << " not found; texts it translates stay untranslated.\n";
    }

    leeb::InstallWindowFontSubstitution();
    leeb::InstallFontSubstitutions();

    // The demo mode: the window on an in-process bus with a tester simulator plugged in. The
    // simulator is declared before the window, so it is unplugged only after the window gave
    // its device back.
    std::shared_ptr<leeb::HidPlatform> platform;
    std::unique_ptr<leeb::TesterSimulator> tester;
    if (options.Simulate) {
        try {
            auto bus = std::make_shared<leeb::SimulatedHidBus>();
            tester = std::make_unique<leeb::TesterSimulator>(leeb::SimulatedTesterRecords(options));
            tester->PlugInto(bus);
            platform = bus;
        } catch (const std::exception& error) {
            std::cerr << error.what() << "\n";
            QMessageBox::critical(
                nullptr,
                QCoreApplication::translate("TForm1", leeb::TForm1::Caption.toUtf8().constData()),
                QString::fromUtf8(error.what()));
            return 1;
        }
    } else {
        platform = std::make_shared<leeb::LinuxHidPlatform>();
    }

    // A failure in a HID event handler ends that handler, never the program: it goes to the
    // window's error report once the window exists.
    leeb::TForm1* window = nullptr;
    auto dispatcher = std::make_shared<leeb::QtGuiDispatcher>([&window](const std::string& text) {
        if (window != nullptr)
            window->ReportError(std::runtime_error(text));
    });
    leeb::TForm1 form(platform, dispatcher);
    window = &form;
    form.show();
    const int result = QApplication::exec();
    window = nullptr;
    return result;
}
