#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "Console.h"

namespace leeb {

namespace {

// A handle the program was given (a file, a pipe) is a redirection and stays; a window
// program started plainly has none.
bool Redirected(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

UINT consoleCodePage = 0;  // the console's own, to give back at exit

void RestoreConsoleCodePage() {
    SetConsoleOutputCP(consoleCodePage);
}

}  // namespace

void WriteUtf8ToConsole() {
    consoleCodePage = GetConsoleOutputCP();  // 0 without a console
    if (consoleCodePage == 0 || consoleCodePage == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8))
        return;
    std::atexit(RestoreConsoleCodePage);
}

void UseParentConsole() {
    const bool out = Redirected(STD_OUTPUT_HANDLE);
    const bool err = Redirected(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;  // nothing to do, or started from Explorer or the Start menu: no console
    if (!out && std::freopen("CONOUT$", "w", stdout) == nullptr)
        return;
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
}

}  // namespace leeb
