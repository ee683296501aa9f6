#pragma once
// What the window remembers between runs, in the user's settings: its geometry, the folder
// each file dialog was last left in, the record files opened or saved most recently and
// whether uploads are verified. The
// store is given by the creator: the user's own in the program, a temporary file in tests.

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace leeb {

class DesktopSettings {
  public:
    static constexpr int RecentFileCount = 8;

    explicit DesktopSettings(QSettings& store) : store_(store) {}

    QByteArray WindowGeometry() const;
    void SetWindowGeometry(const QByteArray& geometry);

    // dialog: a short name of the dialog ("open", "save", ...). Empty when none is known.
    QString LastFolder(const QString& dialog) const;
    void SetLastFolder(const QString& dialog, const QString& folder);

    // Most recent first, at most RecentFileCount, each file once (by its absolute path).
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    // Every record of an upload read twice and compared; off unless the user turned it on.
    bool VerifiedUpload() const;
    void SetVerifiedUpload(bool verified);

  private:
    void SetRecentFiles(QStringList files);

    QSettings& store_;
};

}  // namespace leeb
