// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/runs.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cr::batch {

// Reads a permanence or a plain list of numbers (io::readSpinFile); keeps at
// most the first `limit` spins.
analysis::LoadedSpins loadSpins(const std::string& path,
                                std::optional<long long> limit = std::nullopt);
} // namespace cr::batch
