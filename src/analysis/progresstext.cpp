// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/progresstext.h"

#include <charconv>
#include <cmath>

namespace cr::analysis {

std::string progressText(long long done, long long total, bool ended, double elapsedSeconds,
                         const CountText& count) {
    // Until the files are read, the count of their spins is not known.
    if (total <= 0 && !ended) {
        return "Dateien werden gelesen …";
    }
    std::string text = count(done) + " von " + count(total) + " Würfen";
    if (done > 0 && total > done) {
        const double left =
            elapsedSeconds * static_cast<double>(total - done) / static_cast<double>(done);
        // As printf's %g, but never with the process's decimal comma.
        char seconds[32];
        const auto end = std::to_chars(seconds, seconds + sizeof seconds, std::ceil(left),
                                       std::chars_format::general, 6)
                             .ptr;
        text += ", noch " + std::string(seconds, end) + " s";
    }
    return text;
}

int progressPermille(long long done, long long total) {
    if (total <= 0) {
        return -1;
    }
    return static_cast<int>(1000.0 * static_cast<double>(done) / static_cast<double>(total));
}

} // namespace cr::analysis
