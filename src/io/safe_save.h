// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace cr::io {

// The system calls a save goes through; tests hand in failing ones.
struct FileCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
const FileCalls& systemFileCalls();

// Writes every byte, again after an interruption or a short write; false
// with errno set (EIO for a write that wrote nothing) when a write fails.
bool writeAll(int fd, std::string_view bytes, const FileCalls& calls = systemFileCalls());

// What a save did.
struct SaveOutcome {
    enum class Step {
        Done,       // the new file is complete under its name
        NotRegular, // the name (after following links) is a device, FIFO or directory: untouched
        Create,     // the temporary file beside it could not be made
        Write,
        Sync,
        Close,
        Rename, // the temporary file could not replace the old one
    };
    Step step = Step::Done;
    int error = 0;      // errno of the failing call
    std::string target; // the file written or meant, links followed
    bool ok() const { return step == Step::Done; }
};

// Saves bytes under path so that, whatever the disk does, path afterwards
// holds either the complete new bytes or exactly what it held before: they
// go into a temporary file in the same directory, which is written, checked,
// synced and closed before it replaces the file in one rename. A link is
// followed to the file it names (the link stays); a device, FIFO or
// directory there is never written. A file that is replaced keeps its
// permissions. Nothing is ever written into path directly.
SaveOutcome saveWholeFile(const std::string& path, std::string_view bytes,
                          const FileCalls& calls = systemFileCalls());

} // namespace cr::io
