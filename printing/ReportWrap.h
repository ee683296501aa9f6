#pragma once
// Line breaking for the report's free texts (details, remarks). Widths are GBK bytes, the
// report's unit of column width: its body face sets a Chinese character in two half-em cells
// and every other character in one.

#include <string>
#include <vector>

namespace leeb {

// Pieces of at most `width` GBK bytes. Lines break where the language allows (between words,
// between Chinese characters, never before a closing mark), at every line break of the text,
// and inside a word only when the word alone is wider than a line. The blanks a line ends
// with are dropped. An empty text gives one empty piece.
std::vector<std::string> WrapGbk(const std::string& text, int width);

}  // namespace leeb
