#include "core/calc/SplineNodes.h"

#include <interpolation.h>
#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/SampleMover.h"
#include "core/store/Stretches.h"
#include "core/store/UndoSink.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* Limit = "This is the limit. No more points allowed.";
constexpr const char* OtherChannel = " Node rejected. All nodes must belong to the same channel";
constexpr const char* TooFew = " A spline needs at least 4 nodes.";
constexpr const char* SameTime = " Two nodes lie at the same time. Move or discard one.";
constexpr int ColumnsPerPoint = 4;
constexpr int32_t Chunk = 4096;  // samples written at a time

}  // namespace

void NodeList::clear()
{
    nodes.clear();
    slot = -1;
    rebuild = true;
}

void NodeList::removeLast()
{
    if (!nodes.empty())
        nodes.pop_back();
    if (nodes.empty())
        slot = -1;
    rebuild = true;
}

void NodeList::set(std::size_t k, double time, double value)
{
    if (k < nodes.size()) {
        nodes[k] = {time, value};
        rebuild = true;
    }
}

bool AddNode(NodeList& list, int slot, double t, double v, VkDialogs& ui)
{
    if (!list.empty() && list.slot != slot) {
        ui.message(OtherChannel, Severity::Warning);
        return false;
    }
    if (static_cast<int>(list.nodes.size()) >= MostNodes) {
        ui.message(Limit, Severity::Warning);
        return false;
    }
    list.slot = slot;
    list.nodes.push_back({t, v});
    list.rebuild = true;
    return true;
}

struct AkimaSpline::Library {
    alglib::spline1dinterpolant spline;
};

AkimaSpline::AkimaSpline() : library_(std::make_unique<Library>()) {}
AkimaSpline::~AkimaSpline() = default;

bool AkimaSpline::build(const std::vector<Node>& nodes)
{
    valid_ = false;
    const auto n = static_cast<alglib::ae_int_t>(nodes.size());
    if (n < LeastSplineNodes)
        return false;
    alglib::real_1d_array x, y;
    x.setlength(n);
    y.setlength(n);
    for (alglib::ae_int_t k = 0; k < n; ++k) {
        x[k] = nodes[static_cast<std::size_t>(k)].time;
        y[k] = nodes[static_cast<std::size_t>(k)].value;
    }
    try {
        alglib::spline1dbuildakima(x, y, n, library_->spline);  // sorts the nodes by time
        valid_ = true;
    } catch (const alglib::ap_error&) {  // two nodes at one time
        valid_ = false;
    }
    return valid_;
}

double AkimaSpline::at(double t) const
{
    return valid_ ? alglib::spline1dcalc(library_->spline, t) : 0;
}

std::vector<AkimaSpline::Piece> AkimaSpline::pieces() const
{
    if (!valid_)
        return {};
    alglib::ae_int_t n = 0;
    alglib::real_2d_array table;
    alglib::spline1dunpack(library_->spline, n, table);
    std::vector<Piece> out;
    for (alglib::ae_int_t k = 0; k + 1 < n; ++k)
        out.push_back({table[k][0], table[k][1], table[k][2], table[k][3], table[k][4], table[k][5]});
    return out;
}

std::vector<SplinePoint> LiveSplinePoints(NodeList& list, AkimaSpline& spline, int columns, double f1, double f2)
{
    if (static_cast<int>(list.nodes.size()) < LeastSplineNodes)
        return {};
    if (list.rebuild) {
        spline.build(list.nodes);
        list.rebuild = false;
    }
    if (!spline.valid())
        return {};
    const auto [lo, hi] = std::minmax_element(list.nodes.begin(), list.nodes.end(),
                                              [](const Node& a, const Node& b) { return a.time < b.time; });
    const double tMin = lo->time, tMax = hi->time;
    const int n = columns / ColumnsPerPoint;
    std::vector<SplinePoint> points;
    for (int i = 0; i < n; ++i) {
        const double t = tMin + (tMax - tMin) * i / n;
        if (t > f1 && t < f2)
            points.push_back({t, spline.at(t)});
    }
    return points;
}

CommandResult ReplaceBySpline(ViewContext& cx, NodeList& list, AkimaSpline& spline)
{
    const int slot = cx.view.active;
    if (list.empty() || list.slot != slot)
        return {};
    if (static_cast<int>(list.nodes.size()) < LeastSplineNodes) {
        cx.ui.message(TooFew, Severity::Warning);
        return {};
    }
    if (!spline.build(list.nodes)) {
        cx.ui.message(SameTime, Severity::Warning);
        return {};
    }
    list.rebuild = false;
    if (RefuseWhilePolynomial(cx.rec, cx.ui, slot, true))
        return {};
    const ChannelDescriptor& d = cx.rec.desc(slot);
    Channel channel(cx.rec, slot);
    const auto [lo, hi] = std::minmax_element(list.nodes.begin(), list.nodes.end(),
                                              [](const Node& a, const Node& b) { return a.time < b.time; });
    const double interval = channel.interval();
    if (!(interval > 0))
        return {};
    // The samples after the first node's up to the last node's, cut to the channel's own.
    const StoredSection s = StoredPart(channel, static_cast<int64_t>(std::trunc(lo->time / interval)) + 1,
                                       static_cast<int64_t>(std::trunc(hi->time / interval)));
    if (s.count() <= 0)
        return {};
    cx.undo.PushRange(UndoKind::Spline, slot, s.first, s.last + 1, redraw::ActiveChannel);
    // Piece by piece along the samples, which all lie between the outer nodes.
    const std::vector<AkimaSpline::Piece> pieces = spline.pieces();
    std::size_t piece = 0;
    bool inside = true;
    std::vector<uint16_t> words;
    for (int32_t k0 = s.first; k0 <= s.last; k0 += Chunk) {
        const int32_t count = std::min<int32_t>(Chunk, s.last - k0 + 1);
        words.resize(static_cast<std::size_t>(count));
        for (int32_t j = 0; j < count; ++j) {
            const double t = static_cast<double>(k0 + j) * interval;
            while (piece + 1 < pieces.size() && t > pieces[piece].x1)
                ++piece;
            words[static_cast<std::size_t>(j)] = PhysToRawOf(d, pieces[piece].at(t), inside);
        }
        WriteWords(cx.rec.store, slot, channel.stored(k0), count, words.data());
    }
    if (!inside)
        SetHint(cx.rec, HintRangeExcess);
    cx.rec.at(slot).ChannelModified = true;
    list.clear();
    // The samples written hold values now, also where they were missing.
    const bool gapsChanged = channel.gaps().filled(static_cast<int32_t>(channel.stored(s.first)),
                                                   static_cast<int32_t>(channel.stored(s.last + 1)));
    return {redraw::ActiveChannel, SampleChange{slot, s.first, int64_t{s.last} + 1, gapsChanged}};
}

}  // namespace vk
