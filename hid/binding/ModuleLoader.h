#pragma once
// Loading a shared library and looking up entry points by name at run time (LoadLibraryEx /
// GetProcAddress on Windows, dlopen / dlsym elsewhere).

#include <string>

namespace leeb {

using ModuleHandle = void*;  // empty: nullptr
using EntryPoint = void*;

// Loads `fileName` only if `handle` is empty; true when `handle` is not empty afterwards. On
// Windows a bare name is looked for in the system folder only, so a library of that name
// planted beside the program or in the current folder is never loaded; a path loads that file.
bool ModuleOpen(ModuleHandle& handle, const char* fileName);
// Why the last ModuleOpen on this thread failed, in the system's words.
std::string ModuleOpenError();
// Frees the library if `handle` is not empty; empties it.
void ModuleClose(ModuleHandle& handle);
// The entry point, or nullptr (also for an empty handle).
EntryPoint ModuleSymbol(ModuleHandle handle, const char* name);
// As ModuleSymbol; `allFound` becomes false when the entry point is missing and is never set
// back to true.
EntryPoint ModuleSymbolChecked(ModuleHandle handle, const char* name, bool& allFound);

}  // namespace leeb
