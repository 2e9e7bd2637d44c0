#pragma once

// A channel's calibration polynomial as its dialog edits it:
// y = (A + C x + E x^2 + G x^3 + I x^4 + K x^5) / (1 + B x + D x^2 + F x^3 + H x^4 + J x^5).

#include <array>

#include "core/view/Command.h"

namespace vk {

struct PolynomialSetting {
    std::array<double, 11> coeff{};  // A, B, C, ..., K
    bool apply = false;
};

// The coefficient letters in the order of PolynomialSetting::coeff.
inline constexpr std::array<char, 11> PolynomialLetters{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'};

PolynomialSetting PolynomialOf(const ChannelDescriptor& d);
// y = x, not applied: what "Reset" sets.
PolynomialSetting IdentityPolynomial();

// Stores the setting into the slot as one undoable step; bSet tells whether it
// is other than the identity, and the channel counts as modified.
CommandResult SetPolynomial(ViewContext& cx, int slot, const PolynomialSetting& p);

}  // namespace vk
