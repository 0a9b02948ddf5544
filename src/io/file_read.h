// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/readproblem.h"
#include "io/spin_file.h"

#include <atomic>
#include <optional>
#include <string>

namespace cr::io {

// What became of reading a file of either layout by its name: the outcome,
// and the problem that kept its spins, if any.
struct FileRead {
    SpinFileOutcome read;
    std::optional<ReadProblem> problem;
    bool stopped = false; // told to stop before the end: neither read nor refused
};

// Reads the file at path (see readSpinFile). A name that names nothing, a
// directory, a device or FIFO is refused before a byte is read (FileSource
// looks first); once stop is set the read ends within a block.
FileRead readFile(const std::string& path, long long keptSpins = kAllSpins, long long firstKept = 1,
                  SpinStore store = SpinStore::Cells, const std::atomic<bool>* stop = nullptr);

// The problem in what a reader found, reading from source; nothing when the
// file was read.
std::optional<ReadProblem> problemOf(const SpinFileOutcome& read, const FileSource& source);

} // namespace cr::io
