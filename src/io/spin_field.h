// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/permanence.h"

#include <string>
#include <string_view>

namespace cr::io {

// A field of nothing but blanks and tabs: no spin, skipped like a separator.
bool isEmptyField(std::string_view field);

// Whether a spin field holds a number at all: with every blank, tab and line
// feed removed, it begins with an optional sign and a digit or a point and a
// digit, or with &H and a hexadecimal or &O and an octal digit (either case).
// Any other field would read as 0, a spin that never fell.
bool holdsNumber(std::string_view field);

// The field as a refusal shows it: blanks at its ends removed (tabs stay),
// decoded and cut after its 20th character (see decodeForMessage).
std::string shownField(std::string_view field);

// Checks one spin field whose whole length is length (of which field holds
// the first bytes): None when it may be replayed, with its value in value.
// holds tells whether the field is written as a number at all: a permanence
// takes what the lenient parse reads (holdsNumber), a number list is stricter.
using NumberTest = bool (*)(std::string_view);
PermanenceOutcome::Refusal checkSpin(std::string_view field, std::size_t length, double& value,
                                     NumberTest holds = holdsNumber);

} // namespace cr::io
