#include "RuntimeFolder.h"

namespace leeb {

// Qt takes the runtime folder from the system here; there is nothing to set.
void EnsureRuntimeFolder() {}

}  // namespace leeb
