#pragma once
// Whether the program may create files in a folder, asked before a long upload so that its
// records are not read in only to be lost. One implementation per operating system.

#include <filesystem>

namespace leeb::cli {

// False when the folder is known to refuse new files; true when it takes them or when the
// system cannot tell before trying (the write itself then reports the failure).
bool FolderTakesNewFiles(const std::filesystem::path& folder);

}  // namespace leeb::cli
