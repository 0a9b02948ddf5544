// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace cr::io {

// Decodes 8-bit Windows-1252 text to UTF-8. Bytes the code page leaves
// undefined become U+FFFD.
std::string decodeWindows1252(std::string_view bytes);

// Encodes UTF-8 text as Windows-1252; a character the code page lacks (or a
// byte that is no valid UTF-8) becomes '?'.
std::string encodeWindows1252(std::string_view utf8);

} // namespace cr::io
