#include "core/calc/Extrema.h"

namespace vk {

Extremum NextExtremum(const ValueAt& value, int32_t from, int32_t to, double h)
{
    return NextExtremumOf(value, from, to, h);
}

std::vector<Extremum> FindExtrema(const ValueAt& value, int32_t p, int32_t q, double h, double intervalMs)
{
    std::vector<Extremum> list;
    int32_t at = p;
    while (true) {
        Extremum e = NextExtremum(value, at, q, h);
        if (e.type == 0)
            break;
        list.push_back(e);
        const std::size_t n = list.size();
        if (n >= 3 && e.type == -1 && list[n - 2].type == 1 && list[n - 3].type == -1) {
            Extremum& top = list[n - 2];
            const int32_t a = list[n - 3].index, b = e.index;
            double sum = 0;
            for (int32_t k = a; k <= b; ++k)
                sum += value(k);
            top.integral = sum * intervalMs / 1000.0;
            const double seconds = (b - a) * intervalMs / 1000.0;
            top.frequency = seconds > 0 ? 1.0 / seconds : 0.0;
        }
        // A plateau's middle can lie before where the search stopped; never go back.
        at = e.index > at ? e.index : at + 1;
    }
    for (std::size_t k = 1; k < list.size(); ++k)
        list[k].peakToPeak = list[k].value - list[k - 1].value;
    return list;
}

}  // namespace vk
