#pragma once
// Run-time binding of the HID class library. Counted like the device-setup binding, so two
// users in one process never unbind each other: the library is freed by the release that
// matches the first bind. Only the names this system calls decide whether it is bound.

#include <cstdint>
#include <string>
#include <string_view>

#include "ModuleLoader.h"

namespace leeb {

inline constexpr const char* HidLibraryName = "HID.dll";

bool BindHid(const char* fileName = HidLibraryName);
// Why the last bind that tried to load the library failed: "" after one that succeeded.
std::string HidBindProblem();
void ReleaseHid();
bool HidBound();
int32_t HidUseCount();
// The entry point bound for `name`, nullptr while unbound or for a name not in the list.
EntryPoint HidEntry(std::string_view name);
// The second slot of the functions bound twice (HidP_GetUsages and its kin), else nullptr.
EntryPoint HidSecondEntry(std::string_view name);

}  // namespace leeb
