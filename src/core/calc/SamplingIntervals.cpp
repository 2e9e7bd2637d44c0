#include "core/calc/SamplingIntervals.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/store/Channel.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr const char* InvalidChannel = "Invalid channel number";
constexpr const char* SameChannel = "Channels must be different";
constexpr const char* TooMany = " Too many channels selected";
constexpr const char* TimeBasePage = "ESIdiff.rtf";

int64_t IndexAt(const ChannelView& channel, double t)
{
    return static_cast<int64_t>(std::trunc(t / channel.interval()));
}

}  // namespace

std::string IntervalText(double t, int64_t index)
{
    if (index == 0)
        return "      ---";
    char text[32];
    std::snprintf(text, sizeof text, "%9.3f", t / static_cast<double>(index));
    return text;
}

CommandResult SuggestSamplingIntervals(ViewContext& cx)
{
    const Recording& rec = cx.rec;
    int used = 0;
    for (int s = 0; s < SlotCount; ++s)
        used += HoldsData(rec, s) ? 1 : 0;
    if (used < 2)
        return {};
    const auto answer = cx.ui.input("SI-adjust", "Enter # of 2 channels sep. by space. Example: '1 2'", " ");
    if (!answer)
        return {};
    std::istringstream words(*answer);
    std::vector<int64_t> numbers;
    for (std::string word; numbers.size() < 3 && words >> word;) {
        int64_t n = 0;
        if (!ParseInteger(word, n)) {
            cx.ui.message(InvalidChannel, Severity::Error);
            return {};
        }
        numbers.push_back(n);
    }
    numbers.resize(3, 0);
    const int64_t a = numbers[0], b = numbers[1];
    if (a < 1 || b < 1 || a > SlotCount || b > SlotCount || numbers[2] > SlotCount) {
        cx.ui.message(InvalidChannel, Severity::Error);
        return {};
    }
    if (a == b) {
        cx.ui.message(SameChannel, Severity::Error);
        return {};
    }
    if (numbers[2] > 0) {
        cx.ui.message(TooMany, Severity::Error);
        return {};
    }
    const int sa = static_cast<int>(a - 1), sb = static_cast<int>(b - 1);
    if (!HoldsData(rec, sa) || !HoldsData(rec, sb))
        return {};
    const ChannelView da(rec, sa), db(rec, sb);
    if (rec.desc(sa).StartTime != rec.desc(sb).StartTime) {
        cx.ui.helpPage(TimeBasePage);
        return {};
    }
    const double f4 = cx.view.at.F4, f5 = cx.view.at.F5;
    const std::string A = std::to_string(a), B = std::to_string(b);
    cx.ui.message("SI " + A + "=" + IntervalText(f5, IndexAt(da, f4)) + " or " + "SI " + A + "=" +
                      IntervalText(f4, IndexAt(da, f5)) + " or " + "SI " + B + "=" + IntervalText(f4, IndexAt(db, f5)) +
                      " or " + "SI " + B + "=" + IntervalText(f5, IndexAt(db, f4)),
                  Severity::Information);
    return {};
}

}  // namespace vk
