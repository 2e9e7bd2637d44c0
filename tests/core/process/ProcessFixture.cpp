#include "ProcessFixture.h"

namespace vk::test {

void ProcessFixture::SetUp()
{
    AllocateAll(rec, 2);
    fill(Samples);
    undo = std::make_unique<UndoStack>(rec, view, dir.file("Undo.bin"));
}

void ProcessFixture::fill(int32_t n)
{
    for (int s = 0; s < SlotCount; ++s) {
        ChannelDescriptor& d = rec.desc(s);
        d.SampRate = Interval;
        d.DataCnt = n - 1;
        d.CoeffA = 0.01;
        d.CoeffB = -100;
        d.Min = -100;
        d.Max = 555;
        rec.at(s).ChannelUsed = true;
        for (int32_t i = 0; i < n; ++i)
            WriteRaw(rec, i, raw(i), s);
    }
    rec.time.LongestSpan = (n - 1.0) * Interval;
    view = InitialView(static_cast<double>(n) * Interval);
}

CommandResult ProcessFixture::sectionAt(int code, double f4, double f5, int variant, double parameter, int slot)
{
    CommandSteps steps(*undo);
    ViewContext cx{rec, view, ui, steps};
    return ApplySectionOperation(cx, code, variant, slot, parameter, f5, f4);
}

CommandResult ProcessFixture::section(int code, int32_t first, int32_t last, int variant, double parameter, int slot)
{
    return sectionAt(code, static_cast<double>(first) * Interval, static_cast<double>(last) * Interval, variant,
                     parameter, slot);
}

CommandResult ProcessFixture::derive(int code, int source, int result, int second, int lag)
{
    CommandSteps steps(*undo);
    ViewContext cx{rec, view, ui, steps};
    return DeriveChannel(cx, code, lag, source, result, second < 0 ? source : second);
}

std::vector<uint16_t> ProcessFixture::words(int slot, int32_t extra) const
{
    std::vector<uint16_t> v;
    const uint16_t* block = rec.store.block(slot, 0);
    for (int32_t i = 0; i <= rec.desc(slot).DataCnt + extra; ++i)
        v.push_back(block[i]);
    return v;
}

std::vector<double> ProcessFixture::values(int slot) const
{
    std::vector<double> v;
    for (int32_t i = 0; i <= rec.desc(slot).DataCnt; ++i)
        v.push_back(ReadValue(rec, i, slot).value);
    return v;
}

}  // namespace vk::test
