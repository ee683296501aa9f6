#include <windows.h>

#include <cstring>

#include "ModuleLoader.h"

namespace leeb {

namespace {

thread_local std::string openError;

std::string SystemText(DWORD code) {
    char text[256] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == '.')) {
        result.pop_back();
    }
    return result.empty() ? "system error " + std::to_string(code) : result;
}

}  // namespace

bool ModuleOpen(ModuleHandle& handle, const char* fileName) {
    if (handle == nullptr) {
        // A bare name is looked for in the system folder only, never beside the program or in
        // the current folder, where a planted library of that name could wait.
        const bool bare = std::strpbrk(fileName, "\\/:") == nullptr;
        handle = reinterpret_cast<ModuleHandle>(
            ::LoadLibraryExA(fileName, nullptr, bare ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0));
        if (handle == nullptr) {
            openError = SystemText(::GetLastError());
        }
    }
    return handle != nullptr;
}

std::string ModuleOpenError() {
    return openError;
}

void ModuleClose(ModuleHandle& handle) {
    if (handle != nullptr) {
        ::FreeLibrary(reinterpret_cast<HMODULE>(handle));
    }
    handle = nullptr;
}

EntryPoint ModuleSymbol(ModuleHandle handle, const char* name) {
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<EntryPoint>(::GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
}

}  // namespace leeb
