#pragma once
// Where the programs' text goes on a console: --help, --version, errors, and leebdesk-cli's
// whole output.

namespace leeb {

// On Windows a window program starts without a console: run from a command prompt, what it
// prints would be lost. There it writes to the prompt's console, unless its output is
// redirected already. Elsewhere it does nothing.
void UseParentConsole();

// The programs write UTF-8. A Windows console decodes with its own code page (936 on a Chinese
// system, 437 or 850 elsewhere) and would garble every Chinese character, so while the program
// runs its console takes UTF-8, and gets its own code page back at exit. Elsewhere, and for
// output that goes to a file or pipe, nothing changes.
void WriteUtf8ToConsole();

}  // namespace leeb
