#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cctype>
#include <cstdlib>
#include <optional>

#include "Archive.h"
#include "LocationPassword.h"
#include "ServerConnection.h"

namespace leeb {
namespace {

// libpq's "keyword = value ..." form: a first word of letters and '_' and then '='. A file
// whose name begins so is named with a folder in front ("./lot=5.sqlite").
bool IsKeyValueString(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t word = i;
    while (i < text.size() && (std::isalpha(static_cast<unsigned char>(text[i])) || text[i] == '_'))
        ++i;
    if (i == word)
        return false;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    return i < text.size() && text[i] == '=';
}

std::optional<ArchiveLocation> GivenLocation(const std::string& option) {
    if (!option.empty())
        return ArchiveLocation{option};
    if (const char* fromEnvironment = std::getenv("LEEBDESK_ARCHIVE");
        fromEnvironment != nullptr && *fromEnvironment != '\0')
        return ArchiveLocation{fromEnvironment};
    return std::nullopt;
}

}  // namespace

bool ArchiveLocation::IsServer() const {
    return IsServerUri(Text) || IsKeyValueString(Text);
}

std::string ArchiveLocation::Shown() const {
    return IsServer() ? MaskedLocation(Text) : Text;
}

ArchiveLocation ResolveArchiveLocation(const std::string& option, const QSettings& settings) {
    if (auto given = GivenLocation(option))
        return *given;
    const QString configured = settings.value(ArchiveLocationKey).toString();
    return configured.isEmpty() ? LocalArchiveLocation()
                                : ArchiveLocation{configured.toStdString()};
}

ArchiveLocation ResolveArchiveLocation(const std::string& option) {
    // The settings file is read only when nothing stronger names the archive.
    if (auto given = GivenLocation(option))
        return *given;
    return ResolveArchiveLocation(option, QSettings());
}

void CheckArchiveLocation(const ArchiveLocation& location) {
    if (location.IsServer())
        CheckServerLocation(location.Text);
}

ArchiveLocation LocalArchiveLocation() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return {QDir(folder).filePath("archive.sqlite").toStdString()};
}

}  // namespace leeb
