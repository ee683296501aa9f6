#pragma once
// Replacing a file's whole content so that a failure leaves the old file as it was.

#include <string>
#include <string_view>

namespace leeb {

// Writes `content` to a new file beside `path`, flushes it to disk and renames it over
// `path`. On any failure the temporary file is removed, `path` is untouched and
// RecordFileError is thrown with the file name and the system's reason.
void ReplaceFileContent(const std::string& path, std::string_view content);

}  // namespace leeb
