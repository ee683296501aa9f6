#include "ModuleLoader.h"

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#else
#include <dlfcn.h>
#endif

namespace leeb {

namespace {

thread_local std::string openError;

#ifdef _WIN32
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
#endif

}  // namespace

bool ModuleOpen(ModuleHandle& handle, const char* fileName) {
    if (handle == nullptr) {
#ifdef _WIN32
        const bool bare = std::strpbrk(fileName, "\\/:") == nullptr;
        handle = reinterpret_cast<ModuleHandle>(
            ::LoadLibraryExA(fileName, nullptr, bare ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0));
        if (handle == nullptr) {
            openError = SystemText(::GetLastError());
        }
#else
        handle = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* error = ::dlerror();
            openError = error != nullptr ? error : "cannot be loaded";
        }
#endif
    }
    return handle != nullptr;
}

std::string ModuleOpenError() {
    return openError;
}

void ModuleClose(ModuleHandle& handle) {
    if (handle != nullptr) {
#ifdef _WIN32
        ::FreeLibrary(reinterpret_cast<HMODULE>(handle));
#else
        ::dlclose(handle);
#endif
    }
    handle = nullptr;
}

EntryPoint ModuleSymbol(ModuleHandle handle, const char* name) {
    if (handle == nullptr) {
        return nullptr;
    }
#ifdef _WIN32
    return reinterpret_cast<EntryPoint>(::GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
#else
    return ::dlsym(handle, name);
#endif
}

EntryPoint ModuleSymbolChecked(ModuleHandle handle, const char* name, bool& allFound) {
    EntryPoint entry = ModuleSymbol(handle, name);
    if (entry == nullptr) {
        allFound = false;
    }
    return entry;
}

}  // namespace leeb
