#include "DesktopSettings.h"

#include <QFileInfo>

namespace leeb {

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");
const QString RecentKey = QStringLiteral("files/recent");

QString FolderKey(const QString& dialog) {
    return QStringLiteral("folders/") + dialog;
}

QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QByteArray DesktopSettings::WindowGeometry() const {
    return store_.value(GeometryKey).toByteArray();
}

void DesktopSettings::SetWindowGeometry(const QByteArray& geometry) {
    store_.setValue(GeometryKey, geometry);
}

QString DesktopSettings::LastFolder(const QString& dialog) const {
    return store_.value(FolderKey(dialog)).toString();
}

void DesktopSettings::SetLastFolder(const QString& dialog, const QString& folder) {
    store_.setValue(FolderKey(dialog), folder);
}

QStringList DesktopSettings::RecentFiles() const {
    QStringList files = store_.value(RecentKey).toStringList();
    // A hand-edited or older settings file may hold more, or empty entries.
    files.removeAll(QString());
    files.removeDuplicates();
    return files.mid(0, RecentFileCount);
}

void DesktopSettings::AddRecentFile(const QString& path) {
    if (path.isEmpty())
        return;
    const QString file = Absolute(path);
    QStringList files = RecentFiles();
    files.removeAll(file);
    files.prepend(file);
    SetRecentFiles(std::move(files));
}

void DesktopSettings::RemoveRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(Absolute(path));
    SetRecentFiles(std::move(files));
}

void DesktopSettings::SetRecentFiles(QStringList files) {
    store_.setValue(RecentKey, files.mid(0, RecentFileCount));
}

bool DesktopSettings::VerifiedUpload() const {
    return store_.value(QStringLiteral("upload/verified"), false).toBool();
}

void DesktopSettings::SetVerifiedUpload(bool verified) {
    store_.setValue(QStringLiteral("upload/verified"), verified);
}

}  // namespace leeb
