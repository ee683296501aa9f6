#include <dlfcn.h>

#include "ModuleLoader.h"

namespace leeb {

namespace {

thread_local std::string openError;

}  // namespace

bool ModuleOpen(ModuleHandle& handle, const char* fileName) {
    if (handle == nullptr) {
        handle = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* error = ::dlerror();
            openError = error != nullptr ? error : "cannot be loaded";
        }
    }
    return handle != nullptr;
}

std::string ModuleOpenError() {
    return openError;
}

void ModuleClose(ModuleHandle& handle) {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
    handle = nullptr;
}

EntryPoint ModuleSymbol(ModuleHandle handle, const char* name) {
    return handle != nullptr ? ::dlsym(handle, name) : nullptr;
}

}  // namespace leeb
