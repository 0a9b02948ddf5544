#pragma once

#include <string>
#include <string_view>

namespace cr::io {

// Decodes 8-bit Windows-1252 text to UTF-8. Bytes the code page leaves
// undefined become U+FFFD.
std::string decodeWindows1252(std::string_view bytes);

} // namespace cr::io
