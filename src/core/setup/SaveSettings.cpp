#include "core/setup/SaveSettings.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <sstream>
#include <string_view>

#include "core/files/PathNames.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Workbench.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr const char* SetupExtension = ".cfg";

// Keys the program sets itself while it runs: the view, display ranges and
// colours, the baseline that follows the surface, what loading works out.
bool SetByTheProgram(std::string_view key)
{
    static constexpr std::array<std::string_view, 17> keys{
        "DataCnt", "EndTime", "Min",    "Max",      "LowRng",  "HighRng", "CoeffA", "CoeffB",    "CoeffC",
        "yOffset", "WndSze",  "GrRepr", "GridDist", "LenF8F9", "PosF8F9", "Color",  "subsidline"};
    return std::find(keys.begin(), keys.end(), key) != keys.end() || key.starts_with("GraphFont");
}

// The setup text without the keys the program sets itself.
std::string ChosenSettings(const Workbench& wb)
{
    std::istringstream text(SetupText(wb.rec, wb.settings));
    std::string chosen, line;
    while (std::getline(text, line))
        if (!SetByTheProgram(std::string_view(line).substr(0, line.find('\t'))))
            chosen += line + '\n';
    return chosen;
}

bool WriteOrSay(const std::string& path, Workbench& wb, VkDialogs& ui)
{
    switch (WriteSetup(path, wb.rec, wb.settings)) {
    case SetupWriteResult::Written: wb.started = {path, ChosenSettings(wb)}; return true;
    case SetupWriteResult::NotASetupFile:
        ui.message(" " + FileNameOf(path) + " is not a Varnik setup file; it was left as it is.", Severity::Error);
        return false;
    case SetupWriteResult::WriteFailed:
        ui.message(" Cannot write " + path + " (folder missing, no permission or disk full).", Severity::Error);
        return false;
    }
    return false;
}

}  // namespace

bool SaveSettingsAs(Workbench& wb, VkDialogs& ui)
{
    FileRequest request;
    request.title = "Save settings in: ";
    request.save = true;
    request.filter = "Setup files (*.cfg);;All files (*)";
    request.start = wb.setupFile;
    if (!FileExists(request.start))
        for (const SlotData& s : wb.rec.slots)
            if (FileExists(s.desc.NameIn)) {
                request.start = FolderOf(s.desc.NameIn);
                break;
            }
    auto chosen = ui.chooseFile(request);
    if (!chosen)
        return false;
    if (std::filesystem::path(*chosen).extension().empty())
        *chosen += SetupExtension;  // a name typed without one still finds the setup filter next time
    wb.setupFile = *chosen;
    return WriteOrSay(*chosen, wb, ui);
}

void NoteSetupAtStart(Workbench& wb)
{
    if (wb.started.file != wb.setupFile && !wb.setupFile.empty() && WhyNotASetup(wb.setupFile).empty())
        wb.started = {wb.setupFile, ChosenSettings(wb)};
}

bool SetupChangedSinceStart(const Workbench& wb)
{
    return !wb.started.file.empty() && wb.started.file == wb.setupFile && ChosenSettings(wb) != wb.started.chosen;
}

bool OfferToKeepSetup(Workbench& wb, VkDialogs& ui)
{
    if (!SetupChangedSinceStart(wb))
        return true;
    switch (ui.confirm("Settings changed",
                       " The dive parameters or channel settings were changed after the Start from " +
                           FileNameOf(wb.setupFile) + ". Save them into that setup file? ",
                       "Save", "Save as ...", "Don't save")) {
    case Choice::First: return WriteOrSay(wb.setupFile, wb, ui);
    case Choice::Second: return SaveSettingsAs(wb, ui);
    case Choice::Cancel: return true;
    }
    return true;
}

}  // namespace vk
