// leebdesk: the window program.

#include <QApplication>
#include <memory>
#include <stdexcept>

#include "FontSetup.h"
#include "LinuxHidPlatform.h"
#include "QtGuiDispatcher.h"
#include "ReportFonts.h"
#include "StartOptions.h"
#include "TForm1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("leebdesk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEEBDESK_VERSION));
    leeb::ParseStartOptions(app);

    leeb::InstallWindowFontSubstitution();
    leeb::InstallFontSubstitutions();

    // A failure in a HID event handler ends that handler, never the program: it goes to the
    // window's error report once the window exists.
    leeb::TForm1* window = nullptr;
    auto dispatcher = std::make_shared<leeb::QtGuiDispatcher>([&window](const std::string& text) {
        if (window != nullptr)
            window->ReportError(std::runtime_error(text));
    });
    leeb::TForm1 form(std::make_shared<leeb::LinuxHidPlatform>(), dispatcher);
    window = &form;
    form.show();
    const int result = QApplication::exec();
    window = nullptr;
    return result;
}
