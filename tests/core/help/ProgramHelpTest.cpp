#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "core/help/ProgramHelp.h"

namespace vk {

namespace {

// The text as the manual page escapes it.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text)
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

}  // namespace

TEST(ProgramHelp, HelpAndManualPageSayTheSame)
{
    for (const ProgramHelp* help : InstalledProgramsHelp()) {
        const std::string text = HelpText(*help), page = ManualPage(*help);
        std::string title = Escaped(help->name);
        for (char& c : title)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(page.rfind(".TH " + title + " 1 ", 0), 0u) << help->name;
        EXPECT_NE(page.find("\"Varnik " + ProgramVersion() + "\""), std::string::npos) << help->name;
        for (const OptionHelp& o : AllOptions(*help)) {
            EXPECT_NE(text.find("  " + o.names + "\n"), std::string::npos) << o.names;
            EXPECT_NE(page.find(".B " + Escaped(o.names) + "\n"), std::string::npos) << o.names;
        }
        for (const OptionHelp& s : help->exitStatus)
            EXPECT_NE(page.find(".TP\n.B " + s.names + "\n"), std::string::npos) << s.names;
        // Every way to call it in the usage, on lines a terminal holds.
        std::istringstream lines(UsageText(*help));
        std::string line, usage;
        while (std::getline(lines, line)) {
            EXPECT_LE(line.size(), 79u) << line;
            usage += line + " ";
        }
        for (const std::string& way : AllWays(*help)) {
            std::istringstream words(way);
            std::string word;
            while (words >> word)
                EXPECT_NE(usage.find(word), std::string::npos) << word;
        }
        // No line of text is taken for a request.
        std::istringstream pageLines(page);
        while (std::getline(pageLines, line)) {
            if (!line.empty() && (line[0] == '.' || line[0] == '\'')) {
                EXPECT_TRUE(line.rfind(".TH ", 0) == 0 || line.rfind(".SH ", 0) == 0 || line == ".TP" ||
                            line.rfind(".B ", 0) == 0 || line.rfind(".BR ", 0) == 0 || line == ".PP" || line == ".br")
                    << line;
            }
        }
    }
    // Text that looks like a request or an escape stays text.
    const ProgramHelp odd{"odd", "a\\b", {"x"}, {".starts with a dot", "'and a quote"}, {}, {}, {}};
    const std::string page = ManualPage(odd);
    EXPECT_NE(page.find("\n\\&.starts with a dot\n"), std::string::npos);
    EXPECT_NE(page.find("\n\\&'and a quote\n"), std::string::npos);
    EXPECT_NE(page.find("a\\eb"), std::string::npos);
}

}  // namespace vk
