#pragma once
// What the command-line upload says when the system refuses access to the tester: what the
// user can do about it differs per system.

namespace leeb {

extern const char* const HeadlessAccessDeniedMessage;

}  // namespace leeb
