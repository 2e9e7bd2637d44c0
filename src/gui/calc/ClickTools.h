#pragma once

// What a click in a strip may do beside the read-outs, and the state it
// works on: alter a sample, place a spline node, add or remove a frequency
// tag. The frequency and spline windows switch these on and off.

#include <functional>

#include "core/calc/Frequency.h"
#include "core/calc/SplineNodes.h"
#include "core/setup/Command.h"

namespace vk {

enum class TagClick { None, Insert, Discard };

struct ClickTools {
    bool alter = false;  // "Alter" checked
    TagList tags;
    TagClick tagClick = TagClick::None;
    NodeList nodes;
    AkimaSpline spline;
    bool addNodes = false;              // "Add nodes by click"
    bool moveAll = false;               // "Move all nodes"
    std::function<void()> tagsChanged;  // the frequency window shows the new results

    // The click at time t with value v in strip `image` (the active one after
    // the press), with the left button: each tool that is on does its part.
    CommandResult click(CommandContext& cx, int image, double t, double v, bool left);
};

}  // namespace vk
