#pragma once
// Text bound for a terminal: whatever the terminal would act on is spelled out as \xNN.

#include <cstddef>
#include <string>
#include <string_view>

namespace leeb::cli {

// The offset of the first byte of `text` that is not part of a UTF-8 character (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate, a code past
// U+10FFFF); npos when all of it is UTF-8.
std::size_t FirstNonUtf8Byte(std::string_view text);

enum class Backslash { Kept, Escaped };

// `text` with control characters (C0, DEL, C1) and bytes that are no UTF-8 spelled as \xNN (a
// C1 character by its code), so that a file's bytes or a lab's details cannot send escape
// sequences or fake line breaks to the terminal; other characters, Chinese among them, stay as
// they are. Backslash::Escaped spells a backslash as \x5C too, so that the text itself cannot
// fake an escape; messages keep theirs, which Windows paths are full of.
std::string TerminalSafe(std::string_view text, Backslash backslash = Backslash::Escaped);

}  // namespace leeb::cli
