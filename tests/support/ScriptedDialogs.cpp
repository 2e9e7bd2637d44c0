#include "support/ScriptedDialogs.h"

namespace vk {

void ScriptedDialogs::message(std::string_view text, Severity severity)
{
    shown.push_back({Entry::Kind::Message, std::string(text), severity});
}

Choice ScriptedDialogs::confirm(std::string_view caption, std::string_view text, std::string_view first,
                                std::string_view second, std::string_view cancel)
{
    shown.push_back({Entry::Kind::Question, std::string(text), Severity::Question});
    captions.push_back({std::string(caption), std::string(first), std::string(second), std::string(cancel)});
    if (choices.empty())
        return Choice::First;
    const Choice c = choices.front();
    choices.pop_front();
    return c;
}

Answer ScriptedDialogs::ask(std::string_view text, Buttons buttons, Severity severity)
{
    shown.push_back({Entry::Kind::Question, std::string(text), severity});
    if (onAsk)
        onAsk(text);
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::OkCancel || buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
}

std::optional<std::string> ScriptedDialogs::input(std::string_view caption, std::string_view prompt,
                                                  std::string_view initial)
{
    shown.push_back({Entry::Kind::Input, std::string(caption) + "|" + std::string(prompt), Severity::Question});
    inputInitials.emplace_back(initial);
    if (!inputs.empty()) {
        auto a = inputs.front();
        inputs.pop_front();
        return a;
    }
    return std::string(initial);
}

void ScriptedDialogs::progress(long long, long long)
{
    ++progressCalls;
}

void ScriptedDialogs::status(std::string_view text)
{
    statusTexts.emplace_back(text);
}

void ScriptedDialogs::busy(bool on)
{
    busyDepth += on ? 1 : -1;
}

void ScriptedDialogs::halt()
{
    ++halts;
}

std::optional<int32_t> ScriptedDialogs::chooseColour(std::string_view caption, int32_t initial)
{
    colourCaptions.emplace_back(caption);
    if (colours.empty())
        return initial;
    const std::optional<int32_t> answer = colours.front();
    colours.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::chooseFile(FileRequest& request)
{
    if (!filters.empty()) {
        request.selectedFilter = filters.front();
        filters.pop_front();
    }
    fileRequests.push_back(request);
    if (files.empty())
        return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
}

bool ScriptedDialogs::openDocument(const std::string& path)
{
    opened.push_back(path);
    return true;
}

std::vector<std::string> ScriptedDialogs::texts() const
{
    std::vector<std::string> out;
    for (const auto& e : shown)
        if (e.kind != Entry::Kind::Input)
            out.push_back(e.text);
    return out;
}

}  // namespace vk
