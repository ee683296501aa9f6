#pragma once
// Reading a whole file, one implementation per operating system.

#include <string>

namespace leeb {

// The file's bytes up to its first NUL byte or its end: what follows a NUL is never used, so
// reading stops there. Throws RecordFileError with the file name and the system's reason.
std::string ReadFileUpToNul(const std::string& path);

}  // namespace leeb
