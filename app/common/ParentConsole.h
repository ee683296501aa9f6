#pragma once
// Where a window program's few lines of text go (--help, --version, a bad option).

namespace leeb {

// On Windows a window program starts without a console: run from a command prompt, what it
// prints would be lost. There it writes to the prompt's console, unless its output is
// redirected already. Elsewhere it does nothing.
void UseParentConsole();

}  // namespace leeb
