// Writes the example recording (data, setup file, dive truth) into a folder,
// its first day as a tag archive, or a large logger file for the benchmarks.
//
//   make_example <folder> [days]
//   make_example --archive <folder> [Hz]
//   make_example --bench <file> <lines>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "ExampleArchive.h"
#include "core/example/ExampleRecording.h"
#include "core/help/ProgramHelp.h"

int main(int argc, char** argv)
{
    static const vk::ProgramHelp help{
        "make_example",
        "the example recording, its tag archive, or a large logger file",
        {"<folder> [days]", "--archive <folder> [Hz]", "--bench <file> <lines>"},
        {"Writes the example recording of a fur seal (data, setup file and the true dives) into a folder, its "
         "first day as a tag archive sampled at Hz, or a logger file of that many lines for the benchmarks."},
        {},
        {},
        {}};
    if (argc == 2 && vk::AnswerHelpOrVersion(help, argv[1]))
        return 0;
    try {
        if (argc == 4 && std::string(argv[1]) == "--bench") {
            vk::example::WriteBenchFile(argv[2], std::atoll(argv[3]));
            return 0;
        }
        if (argc >= 3 && argc <= 4 && std::string(argv[1]) == "--archive") {
            const auto files = vk::example::WriteExampleArchive(argv[2], argc == 4 ? std::atof(argv[3]) : 1.0);
            std::printf("%s\n%s\n", files.data.c_str(), files.setup.c_str());
            return 0;
        }
        if (argc < 2 || argc > 3) {
            return vk::RefuseCommandLine(help);
        }
        const auto files = vk::example::WriteExample(argv[1], argc == 3 ? std::atoi(argv[2]) : 2);
        std::printf("%s\n%s\n%s\n", files.data.c_str(), files.setup.c_str(), files.truth.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_example: %s\n", e.what());
        return 1;
    }
}
