#pragma once

// Nodes placed with the mouse on one channel, and the Akima spline through
// them: drawn live in the strip, and on "Replace" written into the samples
// between the first and the last node.

#include <memory>
#include <vector>

#include "core/view/Command.h"

namespace vk {

class VkDialogs;

inline constexpr int MostNodes = 100;
inline constexpr int LeastSplineNodes = 4;

struct Node {
    double time = 0;   // ms
    double value = 0;  // as displayed
};

// The nodes in the order they were placed, all on one channel.
struct NodeList {
    int slot = -1;
    std::vector<Node> nodes;
    bool rebuild = true;  // the spline is to be built anew

    bool empty() const { return nodes.empty(); }
    void clear();
    void removeLast();
    void set(std::size_t k, double time, double value);
};

// A node at (t, v) of `slot`: refused with "This is the limit. No more points
// allowed." at 100 nodes, and " Node rejected. All nodes must belong to the
// same channel" on another channel than the first node's.
bool AddNode(NodeList& list, int slot, double t, double v, VkDialogs& ui);

// The Akima spline through nodes, built anew when the nodes changed.
class AkimaSpline {
public:
    AkimaSpline();
    ~AkimaSpline();
    AkimaSpline(const AkimaSpline&) = delete;
    AkimaSpline& operator=(const AkimaSpline&) = delete;

    // False with fewer than 4 nodes, or two at one time (no curve then).
    bool build(const std::vector<Node>& nodes);
    bool valid() const { return valid_; }
    double at(double t) const;

    // The cubic pieces between neighbouring nodes: from x0 to x1 the value
    // c0 + c1 u + c2 u^2 + c3 u^3 with u = t - x0. For runs of many times.
    struct Piece {
        double x0, x1, c0, c1, c2, c3;
        double at(double t) const
        {
            const double u = t - x0;
            return c0 + u * (c1 + u * (c2 + u * c3));
        }
    };
    std::vector<Piece> pieces() const;

private:
    struct Library;
    std::unique_ptr<Library> library_;
    bool valid_ = false;
};

// The live spline's points: n = columns / 4 times evenly from the first to
// the last node's time (i = 0 .. n - 1), those strictly inside f1 .. f2.
struct SplinePoint {
    double time, value;
};
std::vector<SplinePoint> LiveSplinePoints(NodeList& list, AkimaSpline& spline, int columns, double f1, double f2);

// "Replace": samples after the first node's up to the last node's take the
// spline's values, as one undo step; then the nodes go. Refused, changing
// nothing, with fewer than 4 nodes, nodes at one time, or nodes on another
// channel.
CommandResult ReplaceBySpline(ViewContext& cx, NodeList& list, AkimaSpline& spline);

}  // namespace vk
