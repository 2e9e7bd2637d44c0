#include "core/process/BehaviourProtocol.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr const char* TextExtension = ".txt";

bool Between(int c, char from, char to)
{
    return c >= from && c <= to;
}

}  // namespace

std::optional<char> BehaviourCode(const ProtocolKey& key)
{
    if (key.keypad || key.control || key.alt)
        return std::nullopt;
    if (Between(key.code, '0', '9') || Between(key.code, 'A', 'Z'))
        return static_cast<char>(key.code);
    return std::nullopt;
}

ProtocolRow ProtocolEntry(double globalStart, double f4, double f5, char code, char dateSeparator)
{
    return {FormatDateTime(globalStart + f4, dateSeparator), FormatDateTime(globalStart + f5, dateSeparator),
            std::string(1, code)};
}

std::string ProtocolText(const std::vector<ProtocolRow>& rows)
{
    std::string text;
    for (const ProtocolRow& r : rows)
        text += r.onset + "\t" + r.ending + "\t" + r.behaviour + "\r\n";
    return text + "\r\n";
}

ProtocolClose SaveProtocol(const std::vector<ProtocolRow>& rows, const std::string& folder, VkDialogs& ui)
{
    FileRequest request;
    request.title = "Save protocol as";
    request.save = true;
    request.start = folder;
    request.filter = "Text files (*.txt);;All files (*)";
    if (std::optional<std::string> chosen = ui.chooseFile(request)) {
        std::string path = *chosen;
        if (std::filesystem::path(path).extension().empty())
            path += TextExtension;
        if (ReplaceFileContents(path, ProtocolText(rows)))
            return ProtocolClose::Closed;
        ui.message(" Cannot write " + path + ": " + std::strerror(errno), Severity::Error);
    }
    if (rows.empty())
        return ProtocolClose::Closed;
    const Answer a = ui.ask("The protocol's " + std::to_string(rows.size()) + " rows are not saved. Discard them?",
                            Buttons::YesNo, Severity::Warning);
    return a == Answer::Yes ? ProtocolClose::Closed : ProtocolClose::Kept;
}

}  // namespace vk
