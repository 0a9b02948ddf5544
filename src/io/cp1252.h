// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace cr::io {

// Decodes 8-bit Windows-1252 text to UTF-8. Bytes the code page leaves
// undefined become U+FFFD.
std::string decodeWindows1252(std::string_view bytes);

// A field quoted in a message, its first `characters` characters: as UTF-8
// when those bytes are valid UTF-8 holding a character of more than one byte
// (a file an editor saved as UTF-8), else as Windows-1252 (the casino files'
// own encoding). Whatever would not show is written as its number in
// hexadecimal in angle brackets, "<01>": control characters (below 0x20,
// 0x7F, C1 and the bytes Windows-1252 leaves undefined) and, in UTF-8, the
// invisible marks such as a byte order mark, "<FEFF>".
std::string decodeForMessage(std::string_view bytes, std::size_t characters);

// Encodes UTF-8 text as Windows-1252; a character the code page lacks (or a
// byte that is no valid UTF-8) becomes '?'.
std::string encodeWindows1252(std::string_view utf8);

} // namespace cr::io
