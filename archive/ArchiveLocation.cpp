#include <QDir>
#include <QStandardPaths>
#include <cstdlib>

#include "Archive.h"

namespace leeb {

bool ArchiveLocation::IsServer() const {
    return Text.starts_with("postgresql://") || Text.starts_with("postgres://") ||
           Text.starts_with("service=");
}

ArchiveLocation ResolveArchiveLocation(const std::string& option) {
    if (!option.empty())
        return {option};
    if (const char* fromEnvironment = std::getenv("LEEBDESK_ARCHIVE");
        fromEnvironment != nullptr && *fromEnvironment != '\0')
        return {fromEnvironment};
    return LocalArchiveLocation();
}

ArchiveLocation LocalArchiveLocation() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return {QDir(folder).filePath("archive.sqlite").toStdString()};
}

}  // namespace leeb
