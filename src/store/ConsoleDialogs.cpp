#include "store/ConsoleDialogs.h"

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
    const Answer answer = buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    Print(answer == Answer::Ok ? "question (OK)" : "question (Yes)", text);
    return answer;
}

std::optional<std::string> ConsoleDialogs::input(std::string_view, std::string_view prompt, std::string_view initial)
{
    Print("input (default)", prompt);
    return std::string(initial);
}

void ConsoleDialogs::halt()
{
    std::exit(1);
}

}  // namespace vk
