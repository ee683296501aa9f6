// The system's HID library is loaded from the system folder, never a file of the same name
// planted beside the program or in the current folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "Hid.h"

namespace leeb::test {
namespace {

namespace fs = std::filesystem;

std::string ModuleFileOf(const void* address) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<const char*>(address), &module)) {
        return {};
    }
    char name[MAX_PATH] = {};
    ::GetModuleFileNameA(module, name, MAX_PATH);
    return name;
}

TEST(SystemFolderBinding, APlantedHidLibraryIsNotLoaded) {
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    const fs::path folder = fs::path(program).parent_path();
    const fs::path planted = folder / "HID.dll";
    fs::copy_file(FAKE_HID, planted, fs::copy_options::overwrite_existing);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);

    const bool bound = BindHid();
    const std::string loadedFrom = bound ? ModuleFileOf(HidEntry("HidP_GetCaps")) : "";
    if (bound) {
        ReleaseHid();
    }
    fs::current_path(previous);
    fs::remove(planted);

    ASSERT_TRUE(bound) << HidBindProblem();
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(fs::path(loadedFrom).parent_path(), fs::path(system)) << loadedFrom;
}

}  // namespace
}  // namespace leeb::test
