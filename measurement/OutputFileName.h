#pragma once
// The name an output is saved under: the savers add their extension to a file name without
// ".", as the record file's save adds ".txt".

#include <string>
#include <string_view>

namespace leeb {

// `path` with `extension` (".txt", ".csv", ".pdf") appended when the file's own name holds no
// "." (a dot in a folder name does not count). An existing FIFO, device node or socket keeps
// its name, so that the writer refuses it by that name instead of writing beside it.
std::string WithDefaultExtension(const std::string& path, std::string_view extension);

}  // namespace leeb
