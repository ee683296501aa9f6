#pragma once
// What the commands share: the failure they report, the record file read with its header and
// every line checked, and the output file's name.

#include <QString>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "RecordFile.h"
#include "TerminalText.h"

namespace leeb::cli {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;
// An upload that stopped early; the records read before were written.
inline constexpr int ExitIncomplete = 3;
// An upload whose records were written to the file but not all archived (neither the archive
// nor the local file that keeps them for a server took them), complete or not.
inline constexpr int ExitNotArchived = 4;

// A command that could not be done; the message (Chinese, English in brackets) goes to stderr
// and the program exits with status 1.
class CliFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A text worded as the window words it, as the command line shows it: with --lang in that
// language alone; without, the window's Chinese and then its English in brackets
// ("中文。(English.)"). Control characters in it are spelled as \xNN.
std::string WindowWording(const std::function<QString()>& word);

// Runs `work` with the window's English translation put in for it alone, so that the texts it
// translates come out as the English window shows them.
void InWindowEnglish(const std::function<void()>& work);

// The message for a record file that cannot be read or used, in the window's words: a
// missing file, a folder, a file that is not a record file, or the line that does not convert
// (named as a text editor counts it, with its record) and why.
std::string ReadFailureMessage(const RecordFileError& failure);

// Reads a record file whole, its header and every record line checked. Throws CliFailure with
// ReadFailureMessage, so that nothing is written for a file that cannot be read whole.
RecordLines LoadRecordFile(const std::string& path, char decimalSeparator);

// Throws CliFailure when `output` names the same file as `input`: writing the output would
// destroy the records it is made from.
void RefuseSameFile(const std::string& input, const std::string& output);

// Throws CliFailure when `output` names the archive file at `archivePath`: an output written
// there would replace every archived record.
void RefuseArchiveAsOutput(const std::string& archivePath, const std::string& output);

// The file an output is written to: `extension` added to a name without "."; an existing
// FIFO, device node, socket or folder is refused with CliFailure.
std::string OutputFilePath(const std::string& output, std::string_view extension);

}  // namespace leeb::cli
