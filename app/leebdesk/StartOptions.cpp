#include "StartOptions.h"

#include <QCommandLineParser>

namespace leeb {

StartOptions ParseStartOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Uploads, shows, saves and prints the records of a Leeb hardness tester."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    return StartOptions{};
}

}  // namespace leeb
