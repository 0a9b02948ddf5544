// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the system rules, as the tool's options and the window's
// choices write them, and the house edge of each zero rule.
#include "analysis/system.h"
#include "analysis/systemlaw.h"

#include <algorithm>

namespace cr::analysis {

namespace {

constexpr std::array<std::string_view, 10> kMarschNames{
    "rot", "schwarz", "manque", "passe", "gerade", "ungerade", "leer", "folge", "gegen", "letzter"};
constexpr std::array<std::string_view, 4> kProgressionNames{"flat", "martingale", "paroli",
                                                            "dalembert"};
constexpr std::array<std::string_view, 3> kZeroNames{"partage", "prison", "verloren"};
constexpr std::array<std::string_view, 3> kPairNames{"rs", "mp", "gu"};

template <typename Enum, std::size_t N>
std::optional<Enum> named(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == name) {
            return static_cast<Enum>(i);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Marsch> marschNamed(std::string_view name) {
    return named<Marsch>(kMarschNames, name);
}
std::optional<Progression> progressionNamed(std::string_view name) {
    return named<Progression>(kProgressionNames, name);
}
std::optional<ZeroRule> zeroRuleNamed(std::string_view name) {
    return named<ZeroRule>(kZeroNames, name);
}

std::optional<std::array<bool, kPairCount>> pairsNamed(std::string_view list) {
    std::array<bool, kPairCount> pairs{};
    while (true) {
        const std::size_t comma = list.find(',');
        const std::optional<int> pair = named<int>(kPairNames, list.substr(0, comma));
        if (!pair || pairs[static_cast<std::size_t>(*pair)]) {
            return std::nullopt;
        }
        pairs[static_cast<std::size_t>(*pair)] = true;
        if (comma == std::string_view::npos) {
            return pairs;
        }
        list.remove_prefix(comma + 1);
    }
}

std::string_view nameOf(Marsch marsch) {
    return kMarschNames[static_cast<std::size_t>(marsch)];
}
std::string_view nameOf(Progression progression) {
    return kProgressionNames[static_cast<std::size_t>(progression)];
}
std::string_view nameOf(ZeroRule zero) {
    return kZeroNames[static_cast<std::size_t>(zero)];
}
std::string_view pairName(int pair) {
    return kPairNames[static_cast<std::size_t>(pair)];
}
std::string_view sideName(int pair, int side) {
    return kMarschNames[static_cast<std::size_t>(2 * pair + side - 1)];
}

double houseEdge(ZeroRule zero) {
    return -unitLaw().mean[static_cast<std::size_t>(
        payoffIndex(static_cast<StakeKind>(static_cast<int>(zero)), 0, 1))];
}

} // namespace cr::analysis
