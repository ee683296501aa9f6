#pragma once
// Byte length of a text in the GBK encoding (a Chinese character counts 2, ASCII 1); the
// report's column fills are counted in these bytes.

#include <cstddef>
#include <string_view>

namespace leeb {

std::size_t GbkLength(std::string_view utf8);

}  // namespace leeb
