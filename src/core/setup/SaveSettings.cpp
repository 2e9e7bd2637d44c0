#include "core/setup/SaveSettings.h"

#include <filesystem>

#include "core/files/PathNames.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Workbench.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr const char* SetupExtension = ".cfg";

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
    switch (WriteSetup(*chosen, wb.rec, wb.settings)) {
    case SetupWriteResult::Written: return true;
    case SetupWriteResult::NotASetupFile:
        ui.message(" " + FileNameOf(*chosen) + " is not a Varnik setup file; it was left as it is.", Severity::Error);
        return false;
    case SetupWriteResult::WriteFailed:
        ui.message(" Cannot write " + *chosen + " (folder missing, no permission or disk full).", Severity::Error);
        return false;
    }
    return false;
}

}  // namespace vk
