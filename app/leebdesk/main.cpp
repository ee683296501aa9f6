// leebdesk: the window program.

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "DesktopSettings.h"
#include "FirstPaint.h"
#include "FontSetup.h"
#include "LeebdeskVersion.h"
#include "Console.h"
#include "QtDialogHost.h"
#include "InterfaceTranslation.h"
#include "QtGuiDispatcher.h"
#include "RecentFilesMenu.h"
#include "UploadOptionsMenu.h"
#include "ReportFonts.h"
#include "RuntimeFolder.h"
#include "SimulatedHidBus.h"
#include "StartOptions.h"
#include "SystemHid.h"
#include "MainWindow.h"
#include "TesterSimulator.h"

namespace {

// --help and --version are answered before Qt's GUI starts, so that they work without a
// display. A command line that does not parse here may hold Qt's own options (-platform
// ...), which only QApplication takes out; it is read again once QApplication has done so.
std::optional<int> AnswerWithoutDisplay(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    try {
        const leeb::StartOptions options = leeb::ParseStartOptions(arguments);
        if (options.What == leeb::StartOptions::Action::ShowHelp) {
            std::cout << leeb::StartUsage() << std::flush;
            return 0;
        }
        if (options.What == leeb::StartOptions::Action::ShowVersion) {
            std::cout << leeb::VersionText() << std::flush;
            return 0;
        }
    } catch (const leeb::StartOptionsError&) {
        // Qt's options, or a real error that is reported below.
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    leeb::UseParentConsole();
    leeb::WriteUtf8ToConsole();
    leeb::EnsureRuntimeFolder();
    if (const std::optional<int> answered = AnswerWithoutDisplay(argc, argv))
        return *answered;

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("leebdesk"));
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
        std::cout << leeb::VersionText();
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
            QMessageBox::critical(nullptr, leeb::MainWindow::ShownCaption(),
                                  QString::fromUtf8(error.what()));
            return 1;
        }
    } else {
        platform = leeb::MakeSystemHidPlatform();
    }

    // The user's settings: window geometry, the dialogs' folders, the recent files.
    QSettings store;
    leeb::DesktopSettings settings(store);
    leeb::QtDialogHost dialogs;
    dialogs.SetSettings(&settings);

    // A failure in a HID event handler ends that handler, never the program: it goes to the
    // window's error report once the window exists.
    leeb::MainWindow* window = nullptr;
    auto dispatcher = std::make_shared<leeb::QtGuiDispatcher>([&window](const std::string& text) {
        if (window != nullptr)
            window->ReportError(std::runtime_error(text));
    });
    leeb::MainWindow form(platform, dispatcher, &dialogs);
    dialogs.SetParent(&form);
    window = &form;
    leeb::InstallRecentFiles(form, settings);
    leeb::InstallUploadOptions(form, settings);
    const QByteArray geometry = settings.WindowGeometry();
    if (!geometry.isEmpty())
        form.restoreGeometry(geometry);
    QObject::connect(&app, &QApplication::aboutToQuit, &form,
                     [&form, &settings] { settings.SetWindowGeometry(form.saveGeometry()); });
    form.show();

    // After the first connection check, and after the window's first paint: a full tester's
    // file takes a while to read, and the window is there at once, then filled. The open
    // enables the buttons as the open button would.
    if (!options.OpenFile.isEmpty()) {
        leeb::RunAfterFirstPaint(form, [&form, file = options.OpenFile] {
            form.RunCommand([&form, &file] { form.OpenRecordFile(file); });
        });
    }
    const int result = QApplication::exec();
    window = nullptr;
    return result;
}
