#include "core/help/ProgramHelp.h"

#include <cstdio>

namespace vk {

namespace {

constexpr std::size_t TextWidth = 79;  // of a terminal's line
constexpr std::size_t OptionIndent = 8;

// `text` in lines of at most TextWidth characters, each after `indent` blanks.
std::string Wrapped(const std::string& text, std::size_t indent)
{
    std::string out, line;
    std::size_t from = 0;
    auto flush = [&] {
        if (!line.empty())
            out += std::string(indent, ' ') + line + "\n";
        line.clear();
    };
    while (from < text.size()) {
        std::size_t to = text.find(' ', from);
        if (to == std::string::npos)
            to = text.size();
        const std::string word = text.substr(from, to - from);
        if (!line.empty() && indent + line.size() + 1 + word.size() > TextWidth)
            flush();
        line += (line.empty() ? "" : " ") + word;
        from = to + 1;
    }
    flush();
    return out;
}

// Text for the man(7) macros: backslashes and minus signs escaped, no line
// taken for a request.
std::string Troff(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

std::vector<std::string> AllWays(const ProgramHelp& help)
{
    std::vector<std::string> ways = help.synopsis;
    ways.insert(ways.end(), {"--help", "--version"});
    return ways;
}

std::vector<OptionHelp> AllOptions(const ProgramHelp& help)
{
    std::vector<OptionHelp> options = help.options;
    options.insert(options.end(),
                   {{"--help", "Prints this help and ends."}, {"--version", "Prints the version and ends."}});
    return options;
}

std::string ProgramVersion()
{
    return VARNIK_VERSION;
}

const ProgramHelp& VarnikHelp()
{
    static const ProgramHelp help{
        "varnik",
        "analyse dives in the records of animal-borne data loggers",
        {"[setup file]", "--example <folder>", "--self-check"},
        {"Varnik is a workbench for the records of time-depth recorders and their companion sensors carried by "
         "seals, whales, penguins and turtles. It loads up to three channels (depth, temperature and an auxiliary "
         "sensor) from logger text files, tag archives or binary channel files, shows them in a graph window, "
         "cleans and calibrates them, and finds every dive: its descent, bottom and ascent, its shape, its bouts, "
         "wiggles and dive stops. It writes a result line, an image and a thumbnail per dive.",
         "The program opens its main dialog, with the settings of a setup file when one is named (as a desktop "
         "opens a file with the program). Start loads the channels and opens the graph window. The Help buttons "
         "and F1 explain every dialog; the user manual is installed beside the help pages.",
         "To try the program, press \"Example recording\" in the main dialog: it writes a two-day example "
         "recording of a fur seal with its setup into the folder \"Varnik example\" of your documents and reads "
         "the setup; Start loads it, and the results are written beside it.",
         "The settings of the last session are kept in the user's configuration folder "
         "(~/.config/Varnik/Varnik)."},
        {{"--example <folder>",
          "Writes the example recording (seal-example.txt), its setup file (seal-example.cfg) and the dives it "
          "holds (seal-example.dives) into the folder, made when missing, prints the setup file's name and ends: "
          "open it with varnik or analyse it with varnik-batch."},
         {"--self-check",
          "Opens the main dialog and the first help page without a display, says where the help pages were found, "
          "and ends: for checking an installation."}},
        {{"0",
          "The program was closed (with --self-check: the main dialog and the help page opened; with "
          "--example: the example was written)."},
         {"1", "The program could not start (or the example could not be written)."},
         {"2", "The command line makes no sense (the usage is printed)."}},
        {"varnik-batch(1)", "varnik-picture(1)"},
    };
    return help;
}

const ProgramHelp& VarnikBatchHelp()
{
    static const ProgramHelp help{
        "varnik-batch",
        "analyse dive records without a window, one or a whole study",
        {"[--quiet] [--append] [-j N] [--study DIR] [--report DIR] [--bout-criterion fit|fixed] "
         "[--outliers missing|refuse] [--suggest] <setup file> ...",
         "[--quiet] [--append] [--study DIR] [--report DIR] [--bout-criterion fit|fixed] "
         "[--outliers missing|refuse] [--suggest] --task [I] <setup list>",
         "--merge DIR [--partial] [--report DIR]", "--describe [--template SETUP] [--out-dir DIR] <data file> ..."},
        {"varnik-batch does the automatic analysis of varnik(1) for each setup file named: it loads the record "
         "the setup describes, finds and analyses every dive, groups the dives into bouts and writes the dive, "
         "wiggle and bout tables beside the data file, in fresh files (earlier ones are kept as <name>.1). A "
         "result file is whole or not there: an interrupted run, a full disk or a refused value leaves the "
         "earlier files as they were and names the file and the reason.",
         "Several setups are analysed side by side; --study and --report gather their results. On a cluster, "
         "--task runs one setup of a list per task of a Slurm array and --merge joins the tasks' tables.",
         "--describe proposes a setup for each data file: its columns, separator, header lines and clock."},
        {{"--quiet", "Shows no progress while it runs."},
         {"--append", "Adds to existing result files instead of starting fresh ones."},
         {"-j N",
          "Analyses up to N recordings at once, each in a process of its own (default: one per core), and draws "
          "the report's pictures in up to N processes. The result files are those of a run one at a time."},
         {"--study DIR",
          "Writes DIR/dives.tsv, DIR/bouts.tsv and DIR/recordings.tsv: every recording's dives and bouts under "
          "the result files' column names with a leading Recording column, and a line per setup saying what its "
          "figures rest on and, for a recording that failed, why."},
         {"--report DIR", "Writes DIR/index.html, a report of the study with its pictures beside it."},
         {"--bout-criterion fit|fixed",
          "fit: groups each recording's bouts by a criterion fitted to its pauses; fixed (the default): by the "
          "setup's bout pause."},
         {"--outliers missing|refuse",
          "What to do with values far beyond the bulk of an auto-scaled channel (a logger's write error): take "
          "them as missing, or refuse the recording (the default); either way their lines are named."},
         {"--suggest",
          "Takes the record's suggestion for every dive parameter the setup leaves as the program has it, and "
          "says which."},
         {"--task [I] <setup list>",
          "Analyses the setup on line I of the list (counted from 1; without I, line SLURM_ARRAY_TASK_ID)."},
         {"--merge DIR", "Joins the study tables that the tasks wrote into DIR."},
         {"--partial", "With --merge: joins the whole tasks and names the others instead of failing."},
         {"--describe <data file> ...", "Prints a proposed setup for each data file."},
         {"--template SETUP", "With --describe: takes the other settings from this setup."},
         {"--out-dir DIR", "With --describe: writes one setup per data file into DIR instead of printing them."}},
        {{"0", "Every recording was analysed and all its result files are whole and in place."},
         {"1",
          "At least one recording failed, or the study tables, the merge or the report could not be written; the "
          "others still ran, and recordings.tsv says which and why."},
         {"2", "The command line makes no sense (the usage is printed)."}},
        {"varnik(1)", "varnik-picture(1)"},
    };
    return help;
}

const ProgramHelp& VarnikPictureHelp()
{
    static const ProgramHelp help{
        "varnik-picture",
        "the graph window of a setup's record as a picture",
        {"<setup file> <picture.png> [width height [from to | search=SHAPE[+stop]]]"},
        {"Loads the record a setup file describes, opens the graph window offscreen (width x height, 1920 x 1080 "
         "when not given) and writes it as a PNG picture: the whole record, the stretch from..to in seconds, or "
         "the first dive of a shape (V, U, Y, W, P, L, X; +stop: with a dive stop).",
         "It needs no display: for figures, for checking a setup on a cluster's node, or for a record's picture "
         "beside its results."},
        {},
        {{"0", "The picture was written."},
         {"1", "The setup file could not be read, the record not loaded, or the picture not written."},
         {"2", "The command line makes no sense (the usage is printed)."}},
        {"varnik(1)", "varnik-batch(1)"},
    };
    return help;
}

std::vector<const ProgramHelp*> InstalledProgramsHelp()
{
    return {&VarnikHelp(), &VarnikBatchHelp(), &VarnikPictureHelp()};
}

std::string UsageText(const ProgramHelp& help)
{
    // Each way on lines of the terminal's width, broken only between groups in brackets.
    const std::size_t indent = std::string("usage: ").size() + help.name.size() + 1;
    std::string text;
    const std::vector<std::string> ways = AllWays(help);
    for (std::size_t k = 0; k < ways.size(); ++k) {
        std::string line = (k == 0 ? "usage: " : "       ") + help.name;
        std::size_t depth = 0, from = 0;
        const std::string& way = ways[k];
        for (std::size_t at = 0; at <= way.size(); ++at) {
            if (at < way.size() && (way[at] != ' ' || depth > 0)) {
                if (way[at] == '[' || way[at] == '<')
                    ++depth;
                else if ((way[at] == ']' || way[at] == '>') && depth > 0)
                    --depth;
                continue;
            }
            const std::string word = way.substr(from, at - from);
            if (line.size() + 1 + word.size() > TextWidth && line.size() > indent) {
                text += line + "\n";
                line = std::string(indent - 1, ' ');
            }
            line += " " + word;
            from = at + 1;
        }
        text += line + "\n";
    }
    return text;
}

std::string HelpText(const ProgramHelp& help)
{
    std::string text = UsageText(help) + "\n" + Wrapped(help.name + ": " + help.summary + ".", 0);
    for (const std::string& paragraph : help.description)
        text += "\n" + Wrapped(paragraph, 0);
    auto list = [&](const char* title, const std::vector<OptionHelp>& items) {
        if (items.empty())
            return;
        text += std::string("\n") + title + "\n";
        for (const OptionHelp& o : items)
            text += "  " + o.names + "\n" + Wrapped(o.text, OptionIndent);
    };
    list("Options:", AllOptions(help));
    list("Exit status:", help.exitStatus);
    return text;
}

std::string ManualPage(const ProgramHelp& help)
{
    std::string page = ".TH " + Troff(Upper(help.name)) + " 1 \"\" \"Varnik " + ProgramVersion() +
                       "\" \"User Commands\"\n.SH NAME\n" + Troff(help.name) + " \\- " + Troff(help.summary) +
                       "\n.SH SYNOPSIS\n";
    const std::vector<std::string> ways = AllWays(help);
    for (std::size_t k = 0; k < ways.size(); ++k)
        page += std::string(k ? ".br\n" : "") + ".B " + Troff(help.name) + "\n" + Troff(ways[k]) + "\n";
    page += ".SH DESCRIPTION\n";
    for (std::size_t k = 0; k < help.description.size(); ++k)
        page += std::string(k ? ".PP\n" : "") + Troff(help.description[k]) + "\n";
    auto list = [&](const char* title, const std::vector<OptionHelp>& items) {
        if (items.empty())
            return;
        page += std::string(".SH ") + title + "\n";
        for (const OptionHelp& o : items)
            page += ".TP\n.B " + Troff(o.names) + "\n" + Troff(o.text) + "\n";
    };
    list("OPTIONS", AllOptions(help));
    list("EXIT STATUS", help.exitStatus);
    if (!help.seeAlso.empty()) {
        page += ".SH SEE ALSO\n";
        for (std::size_t k = 0; k < help.seeAlso.size(); ++k) {
            const std::string& ref = help.seeAlso[k];
            const std::size_t paren = ref.find('(');
            page += ".BR " + Troff(ref.substr(0, paren)) + " " + ref.substr(paren) +
                    (k + 1 < help.seeAlso.size() ? " ,\n" : "\n");
        }
    }
    return page;
}

bool AnswerHelpOrVersion(const ProgramHelp& help, const std::string& argument)
{
    if (argument == "--help" || argument == "-h") {
        std::fputs(HelpText(help).c_str(), stdout);
        return true;
    }
    if (argument == "--version") {
        std::printf("%s %s\n", help.name.c_str(), ProgramVersion().c_str());
        return true;
    }
    return false;
}

int RefuseCommandLine(const ProgramHelp& help)
{
    std::fputs(UsageText(help).c_str(), stderr);
    return 2;
}

}  // namespace vk
