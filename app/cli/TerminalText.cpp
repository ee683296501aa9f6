#include "TerminalText.h"

namespace leeb::cli {
namespace {

// The length of the UTF-8 character at text[at], with its code in `code`; 0 when the bytes
// there are no UTF-8 character.
std::size_t CharacterAt(std::string_view text, std::size_t at, char32_t& code) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t least = 0;  // anything below has a shorter form: an overlong one is no UTF-8
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void AppendEscape(std::string& out, unsigned value) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    out += "\\x";
    out += Hex[(value >> 4) & 0x0F];
    out += Hex[value & 0x0F];
}

}  // namespace

std::size_t FirstNonUtf8Byte(std::string_view text) {
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharacterAt(text, i, code);
        if (length == 0) {
            return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

std::string TerminalSafe(std::string_view text, Backslash backslash) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = CharacterAt(text, i, code);
        if (length == 0) {
            AppendEscape(out, static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F) ||
            (code == '\\' && backslash == Backslash::Escaped)) {
            AppendEscape(out, static_cast<unsigned>(code));
        } else {
            out.append(text, i, length);
        }
        i += length;
    }
    return out;
}

}  // namespace leeb::cli
