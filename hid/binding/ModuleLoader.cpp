#include "ModuleLoader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace leeb {

bool ModuleOpen(ModuleHandle& handle, const char* fileName) {
    if (handle == nullptr) {
#ifdef _WIN32
        handle = reinterpret_cast<ModuleHandle>(::LoadLibraryA(fileName));
#else
        handle = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
#endif
    }
    return handle != nullptr;
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
