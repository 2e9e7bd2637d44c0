#include "gui/files/BinaryExportDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
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

namespace {

QLineEdit* CommentField(const char* name, const std::string& text)
{
    auto* field = new QLineEdit(QString::fromStdString(text));
    field->setObjectName(name);
    field->setMaxLength(70);
    field->setToolTip("into the header of the bin file (max 70 chars)");
    return field;
}

}  // namespace

BinaryExportDialog::BinaryExportDialog(Workbench& wb, const ViewState& view, VkDialogs& ui, HelpViewer& help,
                                       QWidget* parent)
        : QDialog(parent), wb_(wb), view_(view), ui_(ui)
{
    setObjectName("binaryExportDialog");
    setWindowTitle("Export to binary file ");
    const SlotData& active = wb_.rec.at(view_.active);
    auto* grid = new QGridLayout(this);
    grid->addWidget(SectionGroup(section_, wb_.exportChoices.section), 0, 0, 1, 2);
    grid->addWidget(ChoiceGroup(" Which channel ", {"&Active channel", "All channels into separate &files"}, channels_,
                                wb_.exportChoices.channels == 0 ? 0 : 1),
                    0, 2, 1, 2);
    file_ = new QLineEdit(QString::fromStdString(ChangeExtension(active.desc.NameIn, ".bin")));
    file_->setObjectName("edtFileName");
    auto* browse = new QPushButton("Browse");
    browse->setAutoDefault(false);
    grid->addWidget(file_, 1, 0, 1, 3);
    grid->addWidget(browse, 1, 3);

    comment1_ = CommentField("edtComment1", active.HeadCmt1);
    comment2_ = CommentField("edtComment2", active.HeadCmt2);
    auto* label1 = new QLabel("Comment1");
    auto* label2 = new QLabel("Comment2");
    auto* accept = new QPushButton("Accept");
    accept->setObjectName("btnAccept");
    accept->setToolTip("Accept comments");
    accept->setAutoDefault(false);
    auto* same = new QPushButton("=");
    same->setObjectName("btnSameComment");
    same->setToolTip("Same comment for all channels");
    same->setAutoDefault(false);
    auto* sameLabel = new QLabel("Same comment for all channells");
    grid->addWidget(label1, 2, 0);
    grid->addWidget(comment1_, 2, 1, 1, 3);
    grid->addWidget(label2, 3, 0);
    grid->addWidget(comment2_, 3, 1, 1, 3);
    grid->addWidget(accept, 4, 1);
    grid->addWidget(same, 4, 2);
    grid->addWidget(sameLabel, 4, 3);
    commentParts_ = {comment1_, comment2_, label1, label2, same, sameLabel};

    QDialogButtonBox* buttons = OkCancelHelp(this, help, "dlgExportBin.rtf");
    grid->addWidget(buttons, 5, 0, 1, 4);
    connect(browse, &QPushButton::clicked, this, [this] { BrowseInto(file_, ui_, "Export to binary file "); });
    connect(accept, &QPushButton::clicked, this, &BinaryExportDialog::acceptComments);
    connect(same, &QPushButton::clicked, this, &BinaryExportDialog::sameCommentForAll);
    connect(channels_, &QButtonGroup::idClicked, this, &BinaryExportDialog::channelsChosen);
    channelsChosen();
}

void BinaryExportDialog::channelsChosen()
{
    const bool active = channels_->checkedId() == 0;
    for (QWidget* w : commentParts_)
        w->setEnabled(active);
}

void BinaryExportDialog::acceptComments()
{
    SlotData& s = wb_.rec.at(view_.active);
    if (!s.ChannelUsed)
        return;
    s.HeadCmt1 = comment1_->text().toStdString();
    s.HeadCmt2 = comment2_->text().toStdString();
}

void BinaryExportDialog::sameCommentForAll()
{
    for (SlotData& s : wb_.rec.slots)
        if (s.ChannelUsed) {
            s.HeadCmt1 = comment1_->text().toStdString();
            s.HeadCmt2 = comment2_->text().toStdString();
        }
}

void BinaryExportDialog::accept()
{
    wb_.exportChoices.section = section_->checkedId();
    wb_.exportChoices.channels = channels_->checkedId();
    double from = 0, to = 0;
    SectionRange(wb_.exportChoices.section, wb_, view_, from, to);
    const std::string name = file_->text().toStdString();
    auto write = [&](int slot, const std::string& path) {
        if (!ExportBinary(wb_.rec, path, slot, from, to))
            ui_.message(" Error writing " + path, Severity::Error);
        else if (wb_.exportChoices.section == 1) {  // the whole channel is saved: nothing is left to ask about
            wb_.rec.at(slot).ChannelModified = false;
            ++wb_.rec.at(slot).wholeSaves;
        }
    };
    if (channels_->checkedId() == 0) {
        if (!ConfirmOverwrite(ui_, name))
            return;  // the dialog stays open and nothing is written
        acceptComments();
        write(view_.active, name);
    } else {
        for (int slot = 0; slot < SlotCount; ++slot) {
            const std::string path = ChangeExtension(name, SlotExtension(slot));
            if (wb_.rec.at(slot).ChannelUsed && ConfirmOverwrite(ui_, path))
                write(slot, path);
        }
    }
    QDialog::accept();
}

}  // namespace vk
