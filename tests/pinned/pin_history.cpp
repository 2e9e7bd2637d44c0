// Writes what a fixed editing history leaves behind, for the pinned hashes:
// the example recording is started from its setup, edited by a row of
// commands (each with the undo sink the window gives it), and then
//
//   Undo.bin          the undo stack file after the history
//   edited.words      the raw words of every slot after it
//   captions.txt      the undo menu caption before each Undo
//   undone.words      the raw words once every step is taken back
//   edited.cfg        the setup text after the history
//   roundtrip.cfg     the example's setup file read and written back
//
//   pin_history <folder>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/example/ExampleRecording.h"
#include "core/files/ChannelSource.h"
#include "core/process/DeriveChannel.h"
#include "core/process/PointEditing.h"
#include "core/process/Resampling.h"
#include "core/process/SectionOperation.h"
#include "core/process/UndoStack.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "support/ScriptedDialogs.h"

namespace {

using namespace vk;
namespace fs = std::filesystem;

constexpr double Hour = 3600000.0;

void WriteWords(const Recording& rec, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const int32_t last = rec.desc(slot).DataCnt;
        out << "slot " << slot << ' ' << last << ' ' << rec.desc(slot).SampRate << '\n';
        for (int32_t i = 0; i <= last; ++i) {
            const uint16_t w = ReadRaw(rec, i, slot);
            out.write(reinterpret_cast<const char*>(&w), sizeof w);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pin_history <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    fs::create_directories(folder);
    using namespace vk;
    const auto files = example::WriteExample(folder + "/example", 1);

    ScriptedDialogs ui;
    Workbench wb;
    if (!ReadSetup(files.setup, wb.rec, wb.settings))
        return 1;
    wb.setupFile = files.setup;
    if (WriteSetup(folder + "/roundtrip.cfg", wb.rec, wb.settings) != SetupWriteResult::Written)
        return 1;
    AllocateStore(wb.rec, ui);
    if (StartRecording(wb, ui) != StartResult::Loaded)
        return 1;

    ViewState view = InitialView(wb.rec.time.LongestSpan);
    auto undo = std::make_unique<UndoStack>(wb.rec, view, folder + "/stack/Undo.bin");
    fs::create_directories(folder + "/stack");
    const auto run = [&](auto&& command) {
        CommandSteps steps(*undo);
        ViewContext cx{wb.rec, view, ui, steps};
        command(cx);
    };
    // Add, multiply, constant and insert ask their number; reduce its factor.
    for (const char* answer : {"2.5", "1.1", "25", "7", "2"})
        ui.inputs.push_back(answer);
    run([](ViewContext& cx) { ApplySectionOperation(cx, SectionAdd, RampNone, 0, 2.5, 2 * Hour, 1 * Hour); });
    run([](ViewContext& cx) { ApplySectionOperation(cx, SectionMultiply, RampNone, 0, 1.1, 3.5 * Hour, 3 * Hour); });
    run([](ViewContext& cx) { ApplySectionOperation(cx, SectionRamp, RampZeroAtF4, 0, 4, 5 * Hour, 4 * Hour); });
    run([](ViewContext& cx) { DeriveChannel(cx, DeriveDifferentiate, 2, 0, 2, 0); });
    run([](ViewContext& cx) { DeletePoints(cx, 0, 6.2 * Hour, 6 * Hour); });
    run([](ViewContext& cx) { InsertPoints(cx, 0, 7.01 * Hour, 7 * Hour); });
    run([](ViewContext& cx) { ApplySectionOperation(cx, SectionConstant, RampNone, 0, 7, 8.1 * Hour, 8 * Hour); });
    run([](ViewContext& cx) { ReduceCommand(cx, 0); });

    fs::copy_file(undo->stackFile(), folder + "/Undo.bin", fs::copy_options::overwrite_existing);
    WriteWords(wb.rec, folder + "/edited.words");
    {
        std::ofstream cfg(folder + "/edited.cfg", std::ios::binary);
        cfg << SetupText(wb.rec, wb.settings);
    }
    std::ofstream captions(folder + "/captions.txt", std::ios::binary);
    for (int guard = 0; guard < 100 && undo->top() > 0; ++guard) {
        captions << undo->MenuCaption() << '\n';
        undo->Pop();
    }
    captions << undo->MenuCaption() << '\n';
    for (const std::string& text : ui.texts())
        captions << "said: " << text << '\n';
    WriteWords(wb.rec, folder + "/undone.words");
    undo.reset();
    fs::remove_all(folder + "/stack");
    fs::remove_all(folder + "/example");
    return 0;
}
