#include "ParentConsole.h"

namespace leeb {

// A program started from a terminal writes to it already.
void UseParentConsole() {}

}  // namespace leeb
