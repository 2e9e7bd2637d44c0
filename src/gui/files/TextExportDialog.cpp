#include "gui/files/TextExportDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/files/ChannelExport.h"
#include "core/files/PathNames.h"
#include "core/setup/Workbench.h"
#include "core/store/VkDialogs.h"
#include "core/view/ViewState.h"
#include "gui/files/ExportDialogParts.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

TextExportDialog::TextExportDialog(Workbench& wb, const ViewState& view, VkDialogs& ui, HelpViewer& help,
                                   QWidget* parent)
        : QDialog(parent), wb_(wb), view_(view), ui_(ui)
{
    setObjectName("textExportDialog");
    setWindowTitle("Export data section into text file");
    auto* grid = new QGridLayout(this);
    grid->addWidget(SectionGroup(section_, wb_.exportChoices.section), 0, 0);
    grid->addWidget(ChoiceGroup(" Which channel ",
                                {"&Active channel", "A&ll channels into one file", "All channels into separate &files"},
                                channels_, wb_.exportChoices.channels),
                    0, 1);
    file_ = new QLineEdit;
    file_->setObjectName("edtFileName");
    auto* browse = new QPushButton("Browse");
    browse->setAutoDefault(false);
    grid->addWidget(file_, 1, 0);
    grid->addWidget(browse, 1, 1);
    QDialogButtonBox* buttons = OkCancelHelp(this, help, "dlgExportText.rtf");
    grid->addWidget(buttons, 2, 0, 1, 2);
    connect(browse, &QPushButton::clicked, this,
            [this] { BrowseInto(file_, ui_, "Export data section into text file"); });
}

void TextExportDialog::showEvent(QShowEvent* event)
{
    // The dive result file of the first channel is proposed when the dialog opens.
    file_->setText(QString::fromStdString(wb_.settings.NameOutFile[0]));
    QDialog::showEvent(event);
}

void TextExportDialog::accept()
{
    wb_.exportChoices.section = section_->checkedId();
    wb_.exportChoices.channels = channels_->checkedId();
    double from = 0, to = 0;
    SectionRange(wb_.exportChoices.section, wb_, view_, from, to);
    const std::string name = file_->text().toStdString();
    auto write = [&](int slot, const std::string& path, TextExportMode mode) {
        if (!ExportText(wb_.rec, slot, path, mode, from, to))
            ui_.message(" Error writing " + path, Severity::Error);
    };
    if (wb_.exportChoices.channels == 2) {
        // Every file is asked for: a slot's own data file may carry its extension.
        for (int slot = 0; slot < SlotCount; ++slot) {
            const std::string path = ChangeExtension(name, SlotExtension(slot));
            if (wb_.rec.at(slot).ChannelUsed && ConfirmOverwrite(ui_, path))
                write(slot, path, TextExportMode::OneChannel);
        }
    } else {
        if (!ConfirmOverwrite(ui_, name))
            return;  // the dialog stays open for another name
        write(view_.active, name,
              wb_.exportChoices.channels == 0 ? TextExportMode::OneChannel : TextExportMode::AllChannels);
    }
    QDialog::accept();
}

}  // namespace vk
