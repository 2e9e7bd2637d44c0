#include "core/store/GapList.h"

#include <algorithm>

namespace vk {

int64_t GapList::missing() const
{
    int64_t n = 0;
    for (const GapRange& r : ranges_)
        n += r.to - r.from;
    return n;
}

void GapList::add(int32_t from, int32_t to)
{
    if (to <= from)
        return;
    if (!ranges_.empty() && from <= ranges_.back().to) {
        ranges_.back().to = std::max(ranges_.back().to, to);
        return;
    }
    ranges_.push_back({from, to});
}

const GapRange* GapList::after(int32_t p) const
{
    const auto it =
        std::upper_bound(ranges_.begin(), ranges_.end(), p, [](int32_t v, const GapRange& r) { return v < r.to; });
    return it == ranges_.end() ? nullptr : &*it;
}

const GapRange* GapList::at(int32_t p) const
{
    const GapRange* r = after(p);
    return r && r->from <= p ? r : nullptr;
}

bool GapList::overlaps(int64_t from, int64_t to) const
{
    if (to <= from || ranges_.empty() || from >= ranges_.back().to)
        return false;
    const GapRange* r = after(static_cast<int32_t>(std::max<int64_t>(from, INT32_MIN)));
    return r && r->from < to;
}

void GapList::removed(int32_t p, int32_t n)
{
    if (n <= 0)
        return;
    const int64_t end = int64_t{p} + n;
    std::vector<GapRange> kept;
    for (GapRange r : ranges_) {
        // Each bound moves down by the deleted positions before it.
        auto move = [&](int32_t x) { return static_cast<int32_t>(x <= p ? x : x >= end ? x - n : p); };
        r = {move(r.from), move(r.to)};
        if (r.to <= r.from)
            continue;
        if (!kept.empty() && r.from <= kept.back().to)
            kept.back().to = std::max(kept.back().to, r.to);
        else
            kept.push_back(r);
    }
    ranges_ = std::move(kept);
}

void GapList::inserted(int32_t p, int32_t n)
{
    if (n <= 0)
        return;
    std::vector<GapRange> moved;
    for (const GapRange& r : ranges_) {
        if (r.to <= p) {
            moved.push_back(r);
        } else if (r.from >= p) {
            moved.push_back({r.from + n, r.to + n});
        } else {
            moved.push_back({r.from, p});
            moved.push_back({p + n, r.to + n});
        }
    }
    ranges_ = std::move(moved);
}

bool GapList::filled(int32_t from, int32_t to)
{
    if (!overlaps(from, to))
        return false;
    // Out and back in as positions that hold values: the ranges around them stay.
    removed(from, to - from);
    inserted(from, to - from);
    return true;
}

}  // namespace vk
