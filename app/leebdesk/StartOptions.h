#pragma once
// The command line of the window program. It takes no arguments of its own beyond help and
// version; options are declared in one place so that more can be added.

#include <QCoreApplication>
#include <QStringList>

namespace leeb {

struct StartOptions {};

// Exits the process with a message on --help, --version or an unknown option.
StartOptions ParseStartOptions(const QCoreApplication& app);

}  // namespace leeb
