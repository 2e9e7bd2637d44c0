#include "core/store/NumberInput.h"

#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

std::string NotANumberText(const std::string& text)
{
    return "'" + text + "' is not a valid floating point value";
}

std::string NotAnIntegerText(const std::string& text)
{
    return "'" + text + "' is not a valid integer value";
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

std::optional<int32_t> AskInteger(VkDialogs& ui, const std::string& caption, const std::string& prompt,
                                  const std::string& initial)
{
    const auto text = ui.input(caption, prompt, initial);
    if (!text)
        return std::nullopt;
    int64_t v = 0;
    if (!ParseInteger(*text, v) || v < INT32_MIN || v > INT32_MAX) {
        ui.message(NotAnIntegerText(*text), Severity::Error);
        return std::nullopt;
    }
    return static_cast<int32_t>(v);
}

}  // namespace vk
