#pragma once
// The command line of the window program:
//
//   leebdesk [RECORDS.txt]      the window on the system's HID devices, opening the record file
//   leebdesk --simulate         ... with a simulated tester holding the built-in sample records
//   leebdesk --simulate=FILE    ... with a simulated tester holding the records of a JSON file
//   leebdesk --lang zh|en       ... in Chinese or English, whatever the system's language
//   leebdesk --help | --version
// "--" ends the options, so a record file's name may begin with "-".
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
    std::string SimulateFile;  // empty: the built-in sample records
    QString OpenFile;          // empty: none; opened as the open button would once the window is up
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
// "leebdesk 1.0.2 (V1.02)".
std::string VersionText();

// The records the simulated tester starts with. Throws SimulatorRecordsError, with a message
// for the user, when the file cannot be read or has not the simulator's form.
SimulatorRecordSet SimulatedTesterRecords(const StartOptions& options);

}  // namespace leeb
