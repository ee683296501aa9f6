#pragma once
// Replacing a file's whole content so that a failure leaves the old file as it was.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace leeb {

// The system calls the writer makes, one implementation per operating system
// (posix/FileSystemCalls.h): a seam through which tests watch their order and make any fail.
class FileSystemCalls;

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
//
// The temporary file's name carries the writer's process id. A temporary of the same target
// whose writer is gone (killed during a write) is removed when the target is next written;
// nothing else is ever removed.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const std::string& path);
    AtomicFileWriter(const std::string& path, FileSystemCalls& calls);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Appends to the new content (buffered: written out in blocks). After a failure further
    // writes do nothing and return false; the failure is thrown by Commit().
    bool Write(std::string_view data);

    // Writes out what is buffered, syncs the new content to disk and renames it over the
    // target, then syncs the folder. Throws RecordFileError when any write failed or the sync
    // or rename fails; the old file is then unchanged.
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
    FileSystemCalls* calls_ = nullptr;  // the POSIX writer's system calls
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

// The unique part a writer puts into its temporary file's name: its process id, '-', and a
// number that tells its attempts apart ("4711-042817").
std::string TemporaryUniquePart(unsigned long processId, unsigned long attempt);

// The process id of the writer that made `candidate` as a temporary file of `targetName`
// (TemporaryFileName with a TemporaryUniquePart, for the same `nameMax`); none for any other
// name, also for temporaries of other targets or of writers that put no id into the name.
std::optional<unsigned long> TemporaryWriterId(const std::string& candidate,
                                               const std::string& targetName, std::size_t nameMax);

}  // namespace leeb
