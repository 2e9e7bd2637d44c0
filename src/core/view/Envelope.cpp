#include "core/view/Envelope.h"

#include <algorithm>
#include <future>

#include "core/store/Channel.h"

namespace vk {

namespace {

uint16_t LowOf(uint16_t v)
{
    return v;
}
uint16_t HighOf(uint16_t v)
{
    return v;
}
uint16_t LowOf(RawExtremes e)
{
    return e.min;
}
uint16_t HighOf(RawExtremes e)
{
    return e.max;
}

// The extremes of a run of samples or entries: a plain loop the compiler vectorises.
template <typename T>
void AddRun(RawExtremes& r, const T* run, int64_t n)
{
    uint16_t lo = r.min, hi = r.max;
    for (int64_t i = 0; i < n; ++i) {
        lo = LowOf(run[i]) < lo ? LowOf(run[i]) : lo;
        hi = HighOf(run[i]) > hi ? HighOf(run[i]) : hi;
    }
    r.min = lo;
    r.max = hi;
}

}  // namespace

void Envelope::fillLevel(const SampleStore& store, int slot, int k, int64_t firstEntry, int64_t endEntry)
{
    std::vector<RawExtremes>& out = levels_[static_cast<std::size_t>(k)];
    for (int64_t e = firstEntry; e < endEntry; ++e) {
        RawExtremes x;
        if (k == 0) {
            addSamples(x, store, slot, e * FirstEntry, std::min<int64_t>((e + 1) * FirstEntry, count_));
        } else {
            const std::vector<RawExtremes>& below = levels_[static_cast<std::size_t>(k - 1)];
            const auto last = std::min<int64_t>((e + 1) * Fan, static_cast<int64_t>(below.size()));
            AddRun(x, below.data() + e * Fan, last - e * Fan);
        }
        out[static_cast<std::size_t>(e)] = x;
    }
}

void Envelope::build(const SampleStore& store, int slot, int64_t count, const GapList& missing)
{
    count_ = std::max<int64_t>(count, 0);
    missing_ = missing;
    levels_.clear();
    int64_t entries = (count_ + FirstEntry - 1) / FirstEntry;
    // Levels until one holds at most 16 entries.
    while (entries > 0) {
        levels_.emplace_back(static_cast<std::size_t>(entries));
        fillLevel(store, slot, levels() - 1, 0, entries);
        if (entries <= Fan)
            break;
        entries = (entries + Fan - 1) / Fan;
    }
}

void Envelope::update(const SampleStore& store, int slot, int64_t from, int64_t to)
{
    from = std::max<int64_t>(from, 0);
    to = std::min(to, count_);
    int64_t size = FirstEntry;
    for (int k = 0; k < levels() && from < to; ++k, size *= Fan)
        fillLevel(store, slot, k, from / size, (to + size - 1) / size);
}

void Envelope::addSamples(RawExtremes& r, const SampleStore& store, int slot, int64_t from, int64_t to) const
{
    // Runs within one block of the store, and without a missing value, in one loop each.
    while (from < to) {
        const int64_t blockEnd = ((from >> SampleStore::BlockShift) + 1) << SampleStore::BlockShift;
        const int64_t end = std::min(to, blockEnd);
        const uint16_t* block = store.block(slot, static_cast<int>(from >> SampleStore::BlockShift));
        if (block && !missing_.overlaps(from, end)) {
            AddRun(r, block + (from & SampleStore::BlockMask), end - from);
        } else {
            for (int64_t p = from; p < end; ++p)
                if (!missing_.at(static_cast<int32_t>(p)))
                    r.add(block ? block[p & SampleStore::BlockMask] : uint16_t{0});  // a block not there reads 0
        }
        from = end;
    }
}

RawExtremes Envelope::range(const SampleStore& store, int slot, int64_t from, int64_t to) const
{
    RawExtremes r;
    int64_t lo = std::max<int64_t>(from, 0);
    int64_t hi = std::min(to, count_);
    int64_t size = 1;  // samples per entry of the current level (1: the raw samples)
    // Entries a..b-1 of level k (-1: the samples themselves).
    auto take = [&](int k, int64_t a, int64_t b) {
        if (b <= a)
            return;
        if (k < 0)
            addSamples(r, store, slot, a, b);
        else
            AddRun(r, levels_[static_cast<std::size_t>(k)].data() + a, b - a);
    };
    for (int k = -1; lo < hi; ++k) {
        const int64_t ceilHi = (hi + size - 1) / size;
        if (k + 1 >= levels()) {
            // The coarsest level: take what is left entry by entry.
            take(k, lo / size, ceilHi);
            break;
        }
        const int64_t next = k < 0 ? FirstEntry : size * Fan;
        // Ends that do not fill an entry of the next level, at this level; the
        // end of the channel counts as aligned, as its last entry is partial.
        const int64_t leftEnd = std::min((lo + next - 1) / next * next / size, ceilHi);
        take(k, lo / size, leftEnd);
        lo = std::max(lo, leftEnd * size);
        if (lo < hi && hi != count_) {
            const int64_t rightStart = std::max(hi / next * next, lo);
            take(k, rightStart / size, hi / size);
            hi = rightStart;
        }
        size = next;
    }
    return r;
}

std::size_t Envelope::bytes() const
{
    std::size_t n = 0;
    for (const auto& l : levels_)
        n += l.size() * sizeof(RawExtremes);
    return n;
}

void BuildEnvelopes(const Recording& rec, std::array<Envelope, SlotCount>& envelopes)
{
    std::vector<std::future<void>> work;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotData& s = rec.at(slot);
        const int64_t stored = std::min<int64_t>(ChannelView(rec, slot).storedCount(), rec.store.capacity(slot));
        Envelope& e = envelopes[static_cast<std::size_t>(slot)];
        if (!s.ChannelUsed || stored <= 0) {
            e.build(rec.store, slot, 0);
            continue;
        }
        work.push_back(std::async(
            std::launch::async, [&rec, &e, slot, stored] { e.build(rec.store, slot, stored, rec.at(slot).missing); }));
    }
    for (auto& w : work)
        w.get();
}

}  // namespace vk
