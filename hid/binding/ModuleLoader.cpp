#include "ModuleLoader.h"

// The platform's own loading lives in ModuleLoaderPosix.cpp and ModuleLoaderWindows.cpp.

namespace leeb {

EntryPoint ModuleSymbolChecked(ModuleHandle handle, const char* name, bool& allFound) {
    EntryPoint entry = ModuleSymbol(handle, name);
    if (entry == nullptr) {
        allFound = false;
    }
    return entry;
}

}  // namespace leeb
