#pragma once
// Dropping a record file on the window opens it, as the open button would with that file
// chosen. Only one local file is taken, and only while the open button is enabled.

#include <QString>
#include <optional>

class QMimeData;

namespace leeb {

class MainWindow;

// The one local file that `data` carries; nothing for several files, folders' contents,
// remote addresses or text.
std::optional<QString> DroppedFile(const QMimeData* data);

void InstallRecordFileDrop(MainWindow& form);

}  // namespace leeb
