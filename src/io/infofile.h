// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace cr::io {

inline constexpr const char* kInfoFileName = "info_kugellauf4.txt";

// The whole info file as UTF-8 text with line feeds between its lines, or
// nothing when it cannot be read. Text that is not UTF-8 is read as
// Windows-1252.
std::optional<std::string> loadInfoFile(const std::string& path);

} // namespace cr::io
