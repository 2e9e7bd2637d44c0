#pragma once

// What each program says of itself, in one place: `--help` prints it as text
// and the build writes the manual pages from it, so the two never differ.

#include <string>
#include <vector>

namespace vk {

struct OptionHelp {
    std::string names;  // as typed: "-j N", "--study DIR"
    std::string text;   // what it does, one paragraph
};

struct ProgramHelp {
    std::string name;                      // "varnik-batch"
    std::string summary;                   // what it is, in a few words
    std::vector<std::string> synopsis;     // the ways to call it, without the name
    std::vector<std::string> description;  // paragraphs
    std::vector<OptionHelp> options;       // besides --help and --version
    std::vector<OptionHelp> exitStatus;    // the status as `names`
    std::vector<std::string> seeAlso;      // other manual pages: "varnik(1)"
};

// The version of every program of the package, from the build.
std::string ProgramVersion();

const ProgramHelp& VarnikHelp();
const ProgramHelp& VarnikBatchHelp();
const ProgramHelp& VarnikPictureHelp();
// The three above: the programs the package installs, each with a manual page.
std::vector<const ProgramHelp*> InstalledProgramsHelp();

// The ways to call it and its options, with --help and --version, which
// every program has and no table repeats.
std::vector<std::string> AllWays(const ProgramHelp& help);
std::vector<OptionHelp> AllOptions(const ProgramHelp& help);

// "usage: varnik-batch ..." with a line per way to call it.
std::string UsageText(const ProgramHelp& help);
// The usage, description, options and exit status as a terminal shows them.
std::string HelpText(const ProgramHelp& help);
// The same as a manual page (man(7) macros) of section 1.
std::string ManualPage(const ProgramHelp& help);

// Answers `--help` (the help text) and `--version` ("<name> <version>") on
// standard output: true when `argument` is one of them, so the caller ends with 0.
bool AnswerHelpOrVersion(const ProgramHelp& help, const std::string& argument);

// A command line that makes no sense: prints the usage on standard error and
// gives the exit status for it, 2.
int RefuseCommandLine(const ProgramHelp& help);

}  // namespace vk
