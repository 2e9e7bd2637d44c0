#pragma once

// Channels computed from channels: the sum or difference of two, the running
// sum, the centred difference and the compass difference of one. The result
// is stored over the whole length of a channel with a calibration fitted to
// its values, so that every value keeps the full raw resolution.

#include "core/view/Command.h"

namespace vk {

enum DeriveCode : int {
    DeriveSubtract = 1,  // second - source
    DeriveAdd = 2,
    DeriveAbsSum = 3,
    DeriveIntegrate = 9,       // running sum, no time factor
    DeriveDifferentiate = 10,  // (y(j + L) - y(j - L)) / 2, L = lag + 1
    DeriveCompass = 11,        // heading change, folded into -180 .. 180
};

// Computes `code` from `source` (and `second` for the bi-channel codes) into
// `result`, which may be either of them. Refused when a slot holds no data
// ("Error. One of the channels does not exist"), while a polynomial is applied
// to one of them, and when they differ in sampling interval or start time.
// Where a value read is missing, so is the result.
CommandResult DeriveChannel(ViewContext& cx, int code, int lag, int source, int result, int second);

// The refusals of DeriveChannel alone: false after telling the user why, so
// that a command can check before it changes anything else.
bool DerivationAllowed(Recording& rec, VkDialogs& ui, int code, int source, int result, int second);

}  // namespace vk
