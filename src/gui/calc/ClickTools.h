#pragma once

// What a click in a strip may do beside the read-outs, and the state it
// works on: alter a sample, place a spline node, add or remove a frequency
// tag. The frequency and spline windows switch these on and off.

#include <QPoint>
#include <QSize>
#include <functional>

#include "core/calc/Frequency.h"
#include "core/calc/SplineNodes.h"
#include "core/setup/Command.h"

namespace vk {

class GraphMenus;

enum class TagClick { None, Insert, Discard };

// A spline node as the strip shows it: a small blue circle, taken by a press
// on it (or a pixel beside it) and dragged.
struct SplineNode {
    static constexpr int Size = 4;   // pixels across
    static constexpr int Reach = 3;  // pixels from its centre that take it
};

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

    // A press at pixel `at` of strip `slot` (of `size`) on one of its nodes
    // takes it; moves then drag it (all nodes with "Move all nodes"), each
    // node taking the time and value under its centre.
    bool grabNode(const Recording& rec, const ViewState& view, int slot, QSize size, QPoint at);
    bool dragNode(const Recording& rec, const ViewState& view, int slot, QSize size, QPoint at);
    bool dragging() const { return dragged_ >= 0; }
    void dropNode() { dragged_ = -1; }

private:
    int dragged_ = -1;
    QPoint dragFrom_;
};

// "&Dispose tags" and "&Show result" are on while a tag list exists.
void FollowTagList(GraphMenus& menus, const TagList& tags);

}  // namespace vk
