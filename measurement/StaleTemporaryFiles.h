#pragma once
// Temporary files left behind by a writer that was killed during a write (kill -9, a power
// cut): the next write to the same target removes them. Per operating system, as the way to
// tell a live writer from a gone one is.

#include <cstddef>
#include <string>

namespace leeb {

// Removes the temporary files of `targetPath` (AtomicFileWriter's names, in the target's
// folder) whose writer is gone. A temporary of another target, of a writer still at work, of
// this process or without a writer's id in its name is left alone. `nameMax`: the folder's
// limit of a name's length, as the temporary names were made with. Failures are ignored: the
// write goes on either way.
void RemoveStaleTemporaries(const std::string& targetPath, std::size_t nameMax);

}  // namespace leeb
