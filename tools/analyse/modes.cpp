// SPDX-License-Identifier: GPL-3.0-or-later
#include "modes.h"

#include "io/spin_file.h"
#include "output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace cr::batch {

using namespace analysis;

namespace {

using Kind = PermanenceOutcome::Kind;

// Why a file cannot even be opened, or nothing if it can: the reason the
// failing call gave. A FIFO or device is refused before it is opened.
std::optional<std::string> openFailure(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? std::string("no such file")
                               : std::string("cannot be opened: ") + std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return "a directory, not a file";
    }
    if (!S_ISREG(info.st_mode)) {
        return "not a regular file";
    }
    return std::nullopt;
}

std::string describe(const io::SpinFileOutcome& result, const io::FileSource& source) {
    using Refusal = PermanenceOutcome::Refusal;
    const PermanenceOutcome& o = result.permanence;
    switch (o.kind) {
    case Kind::EmptyFile:
        return "the file is empty";
    case Kind::NotSpielbank: // readSpinFile reads such a file as a number list
        return "the first field does not begin with \"Spielbank\"";
    case Kind::Refused: {
        const std::string where =
            "spin " + std::to_string(o.refusedSpin) + " reads \"" + escaped(o.refusedText) + "\"";
        if (o.refusal == Refusal::TooLong) {
            return "spin " + std::to_string(o.refusedSpin) + " is a field of more than " +
                   std::to_string(io::FieldStream::kKeptBytes) + " bytes, no number";
        }
        if (o.refusal == Refusal::NotANumber) {
            return result.layout == io::SpinLayout::NumberList
                       ? where + ", which is not a number (a file without a \"Spielbank\" "
                                 "header must hold numbers only)"
                       : where + ", which holds no number";
        }
        return where + ", allowed are 0 to 36";
    }
    case Kind::ReadFailure:
        if (o.outOfMemory) {
            return "not memory enough to hold its spins";
        }
        if (source.error() != 0) {
            return std::string("cannot be read (") + source.failedCall() +
                   "): " + std::strerror(source.error());
        }
        if (source.notRegular()) {
            return "not a regular file";
        }
        if (result.layout == io::SpinLayout::Permanence && o.header.empty()) {
            return "the file holds no field, only blank lines";
        }
        if (result.layout == io::SpinLayout::Permanence && o.header.size() < 3) {
            return "the file ends after " + std::to_string(o.header.size()) +
                   " of its 4 header fields";
        }
        if (result.layout == io::SpinLayout::Permanence && o.count == 0 && o.cells.empty()) {
            return "the file ends before its 4th header field, or could not be read to its end";
        }
        return "the file could not be read to its end";
    case Kind::Read:
        break;
    }
    return {};
}

} // namespace

LoadedSpins loadSpins(const std::string& path, std::optional<long long> limit) {
    LoadedSpins loaded;
    if (const auto failure = openFailure(path)) {
        loaded.error = *failure;
        return loaded;
    }
    io::FileSource source(path);
    io::SpinFileOutcome result = io::readSpinFile(source, io::kAllSpins, 1, io::SpinStore::Numbers);
    if (result.permanence.kind != Kind::Read) {
        loaded.error = describe(result, source);
        return loaded;
    }
    return spinsOf(std::move(result), limit);
}

} // namespace cr::batch
