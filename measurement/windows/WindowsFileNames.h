#pragma once
// File names and system error texts on Windows: the program's paths are UTF-8, the file
// functions take UTF-16.

#include <cstdint>
#include <string>

namespace leeb {

// Empty for a name that is not valid UTF-8.
std::wstring WideFileName(const std::string& utf8);
// The UTF-8 form of a name the system gave; unpaired surrogates become U+FFFD.
std::string Utf8FileName(const std::wstring& wide);
// The errno value for a GetLastError() code of a file operation, so that callers test one kind
// of code on every system (EIO for codes without a counterpart).
int ErrnoFromWindowsError(uint32_t code);
// The system's text for a GetLastError() code, in UTF-8, without the closing line end.
std::string WindowsErrorText(uint32_t code);

}  // namespace leeb
