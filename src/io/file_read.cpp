// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/file_read.h"

#include <cerrno>
#include <cstring>

namespace cr::io {

namespace {

using Kind = PermanenceOutcome::Kind;
using Problem = ReadProblem::Kind;

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
        problem.kind = source.directory() ? Problem::Directory : Problem::NotRegular;
    } else if (source.error() != 0 && std::strcmp(source.failedCall(), "stat") == 0) {
        // Nothing under the name to open: the look before opening failed.
        problem.kind = source.error() == ENOENT ? Problem::NoSuchFile : Problem::CannotOpen;
        problem.error = source.error();
        problem.call = source.failedCall();
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
