#include "core/calc/Extrema.h"

namespace vk {

Extremum NextExtremum(const ValueAt& value, int32_t from, int32_t to, double h)
{
    return NextExtremumOf(value, from, to, h);
}

std::vector<Extremum> FindExtrema(const ValueAt& value, int32_t p, int32_t q, double h, double intervalMs)
{
    return FindExtremaOf(value, p, q, h, intervalMs);
}

}  // namespace vk
