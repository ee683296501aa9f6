#pragma once
// Run-time binding of the device-setup library. Bound once per use: every bind counts, and the
// library is freed when the count falls back to 0. Every listed name is looked up; only the
// names this system calls decide whether the library counts as bound (a system that lacks some
// other one of them still works), and the first of those that is missing is named.

#include <cstdint>
#include <string>
#include <string_view>

#include "ModuleLoader.h"

namespace leeb {

inline constexpr const char* SetupApiLibraryName = "SetupApi.dll";

bool BindSetupApi(const char* fileName = SetupApiLibraryName);
// Why the last bind that tried to load the library failed: "" after one that succeeded.
std::string SetupApiBindProblem();
void ReleaseSetupApi();
int32_t SetupApiUseCount();
bool SetupApiBound();
// The slot of `name`: "XxxA" and "XxxW" for the two forms of a function that has both, plain
// "Xxx" for its third slot (the ANSI entry point again) or for a function with one form.
// nullptr while unbound or for a name not in the list.
EntryPoint SetupApiEntry(std::string_view name);

}  // namespace leeb
