#pragma once
// The command line of the window program:
//
//   leebdesk                    the window on the system's HID devices
//   leebdesk --simulate         ... with a simulated tester holding the built-in sample records
//   leebdesk --simulate=FILE    ... with a simulated tester holding the records of a JSON file
//   leebdesk --lang zh|en       ... in Chinese or English, whatever the system's language
//   leebdesk --help | --version
//
// Qt's own options (-platform, -style, ...) are taken out by QApplication before these are read.

#include <QStringList>
#include <optional>
#include <stdexcept>
#include <string>

#include "InterfaceLanguage.h"
#include "SimulatorRecords.h"

namespace leeb {

struct StartOptions {
    enum class Action { Run, ShowHelp, ShowVersion };
    Action What = Action::Run;
    bool Simulate = false;
    std::string SimulateFile;                   // empty: the built-in sample records
    std::optional<InterfaceLanguage> Language;  // none: the system's
};

// An option the program does not know, or one given wrongly; the text says which.
class StartOptionsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// arguments: as QCoreApplication::arguments() gives them, the program's name first.
StartOptions ParseStartOptions(const QStringList& arguments);
std::string StartUsage();

// The records the simulated tester starts with. Throws SimulatorRecordsError, with a message
// for the user, when the file cannot be read or has not the simulator's form.
SimulatorRecordSet SimulatedTesterRecords(const StartOptions& options);

}  // namespace leeb
