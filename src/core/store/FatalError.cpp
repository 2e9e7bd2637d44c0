#include "core/store/FatalError.h"

#include <array>
#include <utility>

#include "core/store/VkDialogs.h"

namespace vk {

std::string_view FatalErrorText(int code)
{
    static constexpr std::array<std::pair<int, std::string_view>, 12> table{{
        {0, "  User abort."},
        {1, "  Time error. StartTime=EndTime. "},
        {2, "  Fatal Graphic error. Calling undefined window."},
        {3, "  Illegal sampling interval. Only integers allowed."},
        {6, "  Cannot interpret time of time-list-file. "},
        {7, "  Command Line is too long. "},
        {8, "  Baseline correcting is not possible because   the baseline differs too much from 0 [binary] ."},
        {11, "  Analysis yet not possible with logarithmic scale.  Please contact Darvix Software."},
        {12, " Compass File too large."},
        {13, " Illegal calibration. Ymin=Ymax"},
        {14, " Illegal coefficients (L calibration)"},
        {15, " Illegal separator in inputfile"},
    }};
    for (const auto& [c, text] : table)
        if (c == code)
            return text;
    return {};
}

void ReportFatalError(VkDialogs& ui, int code, bool halt)
{
    ui.message(FatalErrorText(code), Severity::Error);
    if (halt) {
        ui.message("     Program halts. ", Severity::Error);
        ui.halt();
    }
}

}  // namespace vk
