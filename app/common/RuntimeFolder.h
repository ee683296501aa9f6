#pragma once
// Qt's standard paths warn on every start outside a desktop session (a terminal over ssh, a
// cron job, a build machine) because no per-user runtime folder is set. Before the first Qt
// application object is made, this gives the process a private one of its own.

namespace leeb {

// Leaves a runtime folder that is already set alone. Otherwise makes (or reuses) a folder
// only the user can enter in the temporary folder and points XDG_RUNTIME_DIR at it; when
// that is not possible, nothing changes and Qt says so itself.
void EnsureRuntimeFolder();

}  // namespace leeb
