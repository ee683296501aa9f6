#include "Console.h"

namespace leeb {

// A program started from a terminal writes to it already, in the terminal's UTF-8.
void UseParentConsole() {}
void WriteUtf8ToConsole() {}

}  // namespace leeb
