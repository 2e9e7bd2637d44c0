#include "core/store/NumberInput.h"

#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

std::string NotANumberText(const std::string& text)
{
    return "'" + text + "' is not a valid floating point value";
}

std::optional<double> AskNumber(VkDialogs& ui, const std::string& caption, const std::string& prompt,
                                const std::string& initial)
{
    const auto text = ui.input(caption, prompt, initial);
    if (!text)
        return std::nullopt;
    double v = 0;
    if (!ParseDecimal(*text, v)) {
        ui.message(NotANumberText(*text), Severity::Error);
        return std::nullopt;
    }
    return v;
}

}  // namespace vk
