#pragma once

#include "core/permanence.h"
#include "io/fields.h"

#include <string>

namespace cr::io {

// Reads a permanence in two passes over the source: the first checks the
// header, counts the spins and checks each lies in 0..36; the second stores
// them into cells created once at their final size. The source is open only
// during each pass.
PermanenceOutcome readPermanence(BlockSource& source);
PermanenceOutcome readPermanenceFile(const std::string& path);

} // namespace cr::io
