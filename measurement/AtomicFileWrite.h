#pragma once
// Replacing a file's whole content so that a failure leaves the old file as it was.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace leeb {

// A new content for `path`, written to a temporary file beside it and renamed over it only
// when every byte is written and synced. Until Commit() the old file is untouched; destroying
// an uncommitted writer removes the temporary file.
//
// `path` may name a regular file, a symbolic link to one (the linked file is replaced, the
// link stays) or nothing yet. Anything else that exists there (a FIFO, a device node, a
// socket, a folder; on Windows a device such as NUL, CON or COM1, a pipe, a folder) is refused:
// replacing it by a regular file would break whatever uses it. Failures throw RecordFileError
// naming `path`, with the FileProblem and the system's error as an errno value; the message
// has the system's own text.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Appends to the new content. After a failure further writes do nothing and return false;
    // the failure is thrown by Commit().
    bool Write(std::string_view data);

    // Syncs the new content to disk and renames it over the target. Throws RecordFileError
    // when any write failed or the sync or rename fails; the old file is then unchanged.
    void Commit();

    const std::string& TemporaryPath() const { return tempPath_; }

  private:
    // The open temporary file and what the replacing needs, per operating system.
    class SystemFile;

    // `error` is the system's own code (errno, or GetLastError() on Windows).
    [[noreturn]] void Fail(int error);
    void Discard();

    std::string givenPath_;  // as the caller named it, for messages
    std::string path_;       // the file that is replaced: links followed
    std::string tempPath_;
    std::unique_ptr<SystemFile> file_;  // null once committed or discarded
    int writeError_ = 0;
};

// True when `path` (links followed) names what AtomicFileWriter refuses: an existing FIFO,
// device node, socket or folder; on Windows also a reserved device name (NUL, CON, COM1, ...,
// with or without an extension) or a path in the device namespace, whether or not it exists. Savers
// that add an extension to a name without "." test the name as given first, so that "/dev/null" is
// refused rather than turned into "/dev/null.txt".
bool IsNonRegularFile(const std::string& path);

// Writes `content` with an AtomicFileWriter: the file is replaced whole or not at all.
// Throws RecordFileError.
void ReplaceFileContent(const std::string& path, std::string_view content);

// The name of the temporary file for a target file name: hidden, marked as temporary and
// unique by `unique`, shortened where needed so that it fits `nameMax` bytes (the folder's
// limit) even when the target's own name already uses all of it.
std::string TemporaryFileName(const std::string& targetName, const std::string& unique,
                              std::size_t nameMax);

}  // namespace leeb
