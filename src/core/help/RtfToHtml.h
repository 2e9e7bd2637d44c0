#pragma once

// Turns the rich-text help pages into HTML for a text browser: paragraphs with
// their indents and alignment, bold, italic, underline, colours, font sizes,
// bullets and the usual special characters. Font tables, pictures and other
// destinations are passed over.

#include <string>
#include <string_view>

namespace vk {

std::string RtfToHtml(std::string_view rtf);

}  // namespace vk
