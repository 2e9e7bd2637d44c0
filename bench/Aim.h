#pragma once

// One line per figure that has an aim, in a form the summary of `make bench`
// collects: "aim | <figure> | <value> | <aim> | <unit>". Smaller is better.

#include <cstdio>

namespace bench {

inline void AimLine(const char* figure, double value, double aim, const char* unit)
{
    std::printf("aim | %s | %.3f | %.3f | %s\n", figure, value, aim, unit);
}

}  // namespace bench
