// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace cr::testing {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        do {
            m_path = std::filesystem::temp_directory_path() /
                     ("chancenraster-test-" + std::to_string(seed()));
        } while (!std::filesystem::create_directory(m_path));
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const { return m_path.string(); }
    // Writes the bytes unchanged into a new file of the directory; gives its path.
    std::string write(const std::string& name, std::string_view bytes) const {
        std::ofstream(m_path / name, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return (m_path / name).string();
    }

private:
    std::filesystem::path m_path;
};

} // namespace cr::testing
