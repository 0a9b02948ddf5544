// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/systemmarsch.h"

#include "core/engine.h"
#include "core/run.h"
#include "core/wheel.h"

namespace cr::analysis::marsch {

const Tables& tables() {
    static const Tables t = [] {
        Tables made;
        const ColourTable farbe = makeColourTable();
        const SpinMasks& masks = spinMasks();
        for (int n = 0; n <= 36; ++n) {
            const auto k = static_cast<std::size_t>(n);
            for (int pair = 0; pair < kPairCount; ++pair) {
                if (n != 0) {
                    made.sides[k] |= static_cast<Wanted>(sideOf(static_cast<Pair>(pair), n, farbe))
                                     << (2 * pair);
                }
                // A field the spin touches is no longer empty: the grid's rule.
                for (const int side : {1, 2}) {
                    if (fieldStateOf(masks.out[k], pair, side) != kFieldEmpty) {
                        made.hits[k] |= static_cast<std::uint8_t>(1u << (pair * 2 + side - 1));
                    }
                }
            }
            made.against[k] = n != 0 ? made.sides[k] ^ 0x3Fu : 0u;
        }
        for (unsigned hit = 0; hit < 64; ++hit) {
            for (int pair = 0; pair < kPairCount; ++pair) {
                const bool first = (hit >> (2 * pair) & 1u) == 0;
                const bool second = (hit >> (2 * pair + 1) & 1u) == 0;
                if (first != second) {
                    made.leer[hit] |= (first ? 1u : 2u) << (2 * pair);
                }
            }
        }
        return made;
    }();
    return t;
}

Wanted pairMask(const std::array<bool, kPairCount>& pairs) {
    Wanted mask = 0;
    for (int pair = 0; pair < kPairCount; ++pair) {
        mask |= pairs[static_cast<std::size_t>(pair)] ? 3u << (2 * pair) : 0u;
    }
    return mask;
}

} // namespace cr::analysis::marsch
