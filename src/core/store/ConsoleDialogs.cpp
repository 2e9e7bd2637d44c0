#include "core/store/ConsoleDialogs.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vk {

namespace {

void Print(const char* kind, std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::fprintf(stderr, "%s: %s\n", kind, line.c_str());
}

}  // namespace

void ConsoleDialogs::message(std::string_view text, Severity severity)
{
    Print(severity == Severity::Error ? "error" : severity == Severity::Warning ? "warning" : "note", text);
}

Answer ConsoleDialogs::ask(std::string_view text, Buttons buttons, Severity)
{
    Answer answer = buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    if (cautious_) {
        switch (buttons) {
        case Buttons::Ok: answer = Answer::Ok; break;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel: answer = Answer::Cancel; break;
        case Buttons::YesNo: answer = Answer::No; break;
        case Buttons::YesNoAbort: answer = Answer::Abort; break;
        }
    }
    static const char* const names[] = {"OK", "Cancel", "Yes", "No", "Abort"};
    Print((std::string("question (") + names[static_cast<int>(answer)] + ")").c_str(), text);
    return answer;
}

std::optional<std::string> ConsoleDialogs::input(std::string_view, std::string_view prompt, std::string_view initial)
{
    if (cautious_) {
        Print("input (none)", prompt);
        return std::nullopt;
    }
    Print("input (default)", prompt);
    return std::string(initial);
}

void ConsoleDialogs::helpPage(const std::string& page)
{
    Print("see the help page", page);
}

void ConsoleDialogs::halt()
{
    std::exit(1);
}

}  // namespace vk
