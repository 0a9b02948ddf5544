// SPDX-License-Identifier: GPL-3.0-or-later
// The permanence reader over arbitrary bytes: from memory, and from a file
// read in tiny chunks, the two must agree; an accepted file holds only spins
// that round into 0..36, and the two passes must agree on every one. The
// same for the reader of either layout, which takes most numbers of a list in
// bulk from a whole block: in tiny chunks it reads them field by field, and
// keeping only the numbers must give the cells' numbers.
#include "core/numparse.h"
#include "io/fields.h"
#include "io/permanence_reader.h"
#include "io/spin_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkOutcome(const cr::PermanenceOutcome& outcome) {
    using Kind = cr::PermanenceOutcome::Kind;
    if (outcome.kind != Kind::Read) {
        check(outcome.cells.empty());
        return;
    }
    const auto count = static_cast<std::size_t>(outcome.count);
    check(outcome.cells.size() == count + 21);
    check(cr::isEmptyCell(outcome.cells[0]));
    for (std::size_t k = 1; k < outcome.cells.size(); ++k) {
        if (k <= count) {
            check(!cr::isEmptyCell(outcome.cells[k]));
            const double r = cr::roundHalfEven(outcome.cells[k]);
            check(r >= 0 && r <= 36);
        } else {
            check(cr::isEmptyCell(outcome.cells[k]));
        }
    }
}

bool sameOutcome(const cr::PermanenceOutcome& a, const cr::PermanenceOutcome& b) {
    if (a.kind != b.kind || a.header != b.header || a.count != b.count ||
        a.refusedSpin != b.refusedSpin || a.refusedText != b.refusedText ||
        a.cells.size() != b.cells.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.cells.size(); ++k) {
        const bool emptyA = cr::isEmptyCell(a.cells[k]);
        if (emptyA != cr::isEmptyCell(b.cells[k]) || (!emptyA && a.cells[k] != b.cells[k])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte picks the chunk size of the file reading: a few bytes,
    // or some hundred bytes for longer inputs, so a megabyte still reads quickly.
    const std::size_t chunk = (1 + data[0] % 16) << (size > 4096 ? 8 : 0);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    cr::io::MemorySource memory(bytes);
    const cr::PermanenceOutcome fromMemory = cr::io::readPermanence(memory);
    checkOutcome(fromMemory);

    // Keeping only the first spins changes nothing but the cells kept.
    cr::io::MemorySource again(bytes);
    const cr::PermanenceOutcome kept = cr::io::readPermanence(again, 2);
    check(kept.kind == fromMemory.kind && kept.count == fromMemory.count &&
          kept.refusedSpin == fromMemory.refusedSpin && kept.header == fromMemory.header);
    if (kept.kind == cr::PermanenceOutcome::Kind::Read) {
        const std::size_t spins = std::min<std::size_t>(static_cast<std::size_t>(kept.count), 2);
        check(kept.cells.size() == spins + 21);
        for (std::size_t k = 1; k < kept.cells.size(); ++k) {
            check(k <= spins ? kept.cells[k] == fromMemory.cells[k]
                             : cr::isEmptyCell(kept.cells[k]));
        }
    }

    static const int fd = memfd_create("permanence", 0);
    check(fd >= 0);
    check(ftruncate(fd, 0) == 0);
    check(pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    cr::io::FileSource file("/proc/self/fd/" + std::to_string(fd), chunk);
    const cr::PermanenceOutcome fromFile = cr::io::readPermanence(file);
    check(sameOutcome(fromMemory, fromFile));

    cr::io::MemorySource listMemory(bytes);
    const cr::io::SpinFileOutcome list = cr::io::readSpinFile(listMemory);
    checkOutcome(list.permanence);
    cr::io::FileSource listFile("/proc/self/fd/" + std::to_string(fd), chunk);
    const cr::io::SpinFileOutcome listInChunks = cr::io::readSpinFile(listFile);
    check(list.layout == listInChunks.layout &&
          sameOutcome(list.permanence, listInChunks.permanence));
    cr::io::MemorySource numbersMemory(bytes);
    const cr::io::SpinFileOutcome numbers =
        cr::io::readSpinFile(numbersMemory, cr::io::kAllSpins, 1, cr::io::SpinStore::Numbers);
    check(numbers.permanence.kind == list.permanence.kind &&
          numbers.permanence.count == list.permanence.count &&
          numbers.permanence.refusedSpin == list.permanence.refusedSpin);
    if (list.layout == cr::io::SpinLayout::NumberList &&
        list.permanence.kind == cr::PermanenceOutcome::Kind::Read) {
        check(numbers.numbers.size() == static_cast<std::size_t>(list.permanence.count));
        for (std::size_t k = 0; k < numbers.numbers.size(); ++k) {
            check(numbers.numbers[k] == cr::roundHalfEven(list.permanence.cells[k + 1]));
        }
    }
    return 0;
}
