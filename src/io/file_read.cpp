// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/file_read.h"

#include <cerrno>
#include <sys/stat.h>

namespace cr::io {

namespace {

using Kind = PermanenceOutcome::Kind;
using Problem = ReadProblem::Kind;

// Why nothing under the name can be read as a file: the reason the failing
// call gave. A FIFO or device is refused before it is opened.
std::optional<ReadProblem> openProblem(const std::string& path) {
    struct stat info {};
    ReadProblem problem;
    if (::stat(path.c_str(), &info) != 0) {
        problem.kind = errno == ENOENT ? Problem::NoSuchFile : Problem::CannotOpen;
        problem.error = errno;
        problem.call = "stat";
        return problem;
    }
    if (S_ISDIR(info.st_mode)) {
        problem.kind = Problem::Directory;
        return problem;
    }
    if (!S_ISREG(info.st_mode)) {
        problem.kind = Problem::NotRegular;
        return problem;
    }
    return std::nullopt;
}

// A file's blocks until the reader is told to stop: then the file ends as if
// it could not be read, so a stop is heard within a block even in a huge file.
class StoppableSource final : public BlockSource {
public:
    StoppableSource(const std::string& path, const std::atomic<bool>* stop)
        : m_file(path), m_stop(stop) {}
    bool open() override { return m_file.open(); }
    bool empty() const override { return m_file.empty(); }
    std::optional<std::string_view> nextBlock() override {
        if (m_stop && m_stop->load(std::memory_order_relaxed)) {
            m_stopped = true;
            return std::nullopt;
        }
        return m_file.nextBlock();
    }
    bool failed() const override { return m_stopped || m_file.failed(); }
    void close() override { m_file.close(); }
    const FileSource& file() const { return m_file; }
    bool stopped() const { return m_stopped; }

private:
    FileSource m_file;
    const std::atomic<bool>* m_stop;
    bool m_stopped = false;
};

ReadProblem refusal(const SpinFileOutcome& read) {
    const PermanenceOutcome& o = read.permanence;
    ReadProblem problem;
    problem.numberList = read.layout == SpinLayout::NumberList;
    const bool firstField = o.refusedSpin == 1 && o.header.empty() &&
                            o.refusal != PermanenceOutcome::Refusal::OutOfRange;
    problem.kind = firstField ? Problem::Neither : Problem::Refused;
    problem.spin = o.refusedSpin;
    problem.text = o.refusedText;
    problem.refusal = o.refusal;
    problem.fieldLimit = FieldStream::kKeptBytes;
    return problem;
}

ReadProblem failure(const SpinFileOutcome& read, const FileSource& source) {
    const PermanenceOutcome& o = read.permanence;
    const bool permanence = read.layout == SpinLayout::Permanence;
    ReadProblem problem;
    if (o.outOfMemory) {
        problem.kind = Problem::OutOfMemory;
    } else if (source.notRegular()) {
        problem.kind = Problem::NotRegular;
    } else if (source.error() != 0) {
        problem.kind = Problem::CannotRead;
        problem.error = source.error();
        problem.call = source.failedCall();
    } else if (permanence && o.header.empty()) {
        problem.kind = Problem::OnlyBlankLines;
    } else if (permanence && o.header.size() < 3) {
        problem.kind = Problem::EndsInHeader;
        problem.headerFields = o.header.size();
    } else if (permanence && o.count == 0 && o.cells.empty()) {
        problem.kind = Problem::HeaderUnfinished;
    } else {
        problem.kind = Problem::Unfinished;
    }
    return problem;
}

} // namespace

std::optional<ReadProblem> problemOf(const SpinFileOutcome& read, const FileSource& source) {
    switch (read.permanence.kind) {
    case Kind::Read:
        return std::nullopt;
    case Kind::EmptyFile:
        return ReadProblem{Problem::Empty};
    case Kind::NotSpielbank: // readSpinFile reads such a file as a number list
        return ReadProblem{Problem::Neither};
    case Kind::Refused:
        return refusal(read);
    case Kind::ReadFailure:
        return failure(read, source);
    }
    return std::nullopt;
}

FileRead readFile(const std::string& path, long long keptSpins, long long firstKept,
                  SpinStore store, const std::atomic<bool>* stop) {
    FileRead result;
    result.problem = openProblem(path);
    if (result.problem) {
        return result;
    }
    StoppableSource source(path, stop);
    result.read = readSpinFile(source, keptSpins, firstKept, store);
    if (source.stopped()) {
        result.stopped = true;
        return result;
    }
    result.problem = problemOf(result.read, source.file());
    return result;
}

} // namespace cr::io
