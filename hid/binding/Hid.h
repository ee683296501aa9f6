#pragma once
// Run-time binding of the HID class library. Not counted: the first release unbinds it,
// whatever the number of binds. All-or-nothing: one missing name leaves it unbound.

#include <string_view>

#include "ModuleLoader.h"

namespace leeb {

inline constexpr const char* HidLibraryName = "HID.dll";

bool BindHid(const char* fileName = HidLibraryName);
void ReleaseHid();
bool HidBound();
// The entry point bound for `name`, nullptr while unbound or for a name not in the list.
EntryPoint HidEntry(std::string_view name);
// The second slot of the functions bound twice (HidP_GetUsages and its kin), else nullptr.
EntryPoint HidSecondEntry(std::string_view name);

}  // namespace leeb
