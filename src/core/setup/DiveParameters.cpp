#include "core/setup/DiveParameters.h"

namespace vk {

void DisableIncompleteRows(DiveParameters& p)
{
    for (ExtendedParameterRow& row : p.ExtendedParameters)
        if (row.operation < 0 || row.channel < 0 || row.section < 0)
            row.enabled = false;
}

}  // namespace vk
