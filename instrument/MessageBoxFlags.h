#pragma once
// Message box flags and answers, with the values of the platform message box they stand for.

namespace leeb {

enum MessageBoxFlag : unsigned {
    MB_OK = 0x00,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONINFORMATION = 0x40,
    MB_ICONWARNING = 0x30,  // both bits of the two above it, as the platform has it
    MB_ICONMASK = 0xF0,
};

enum MessageBoxAnswer : int {
    IDOK = 1,
    IDYES = 6,
    IDNO = 7,
};

}  // namespace leeb
