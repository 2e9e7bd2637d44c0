// Writes the manual pages of the programs a user runs, from what their
// --help prints.
//
//   make_man <folder>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/help/ProgramHelp.h"

int main(int argc, char** argv)
{
    static const vk::ProgramHelp help{"make_man",
                                      "the manual pages of varnik, varnik-batch and varnik-picture",
                                      {"<folder>"},
                                      {"Writes varnik.1, varnik-batch.1 and varnik-picture.1 into the folder."},
                                      {},
                                      {},
                                      {}};
    if (argc == 2 && vk::AnswerHelpOrVersion(help, argv[1]))
        return 0;
    if (argc != 2) {
        return vk::RefuseCommandLine(help);
    }
    for (const vk::ProgramHelp* program : vk::InstalledProgramsHelp()) {
        const std::string path = std::string(argv[1]) + "/" + program->name + ".1";
        std::ofstream out(path, std::ios::binary);
        out << vk::ManualPage(*program);
        if (!out.flush()) {
            std::fprintf(stderr, "make_man: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
