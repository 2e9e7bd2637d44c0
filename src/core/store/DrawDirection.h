#pragma once

namespace vk {

// Which way larger values go in a strip.
enum class DrawDirection { Upwards, Downwards };

// The direction of a stored drawing style: negative styles draw downwards.
constexpr DrawDirection DirectionOfStyle(int style)
{
    return style >= 0 ? DrawDirection::Upwards : DrawDirection::Downwards;
}

}  // namespace vk
