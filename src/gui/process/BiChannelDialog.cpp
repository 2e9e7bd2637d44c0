#include "gui/process/BiChannelDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/setup/Workbench.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr std::size_t ResultRow = 2;
constexpr std::array<const char*, 3> FieldNames{"edtChannel1", "edtChannel2", "edtResult"};

std::array<const char*, 3> LabelsOf(BiChannelMode mode)
{
    switch (mode) {
    case BiChannelMode::Subtract: return {"&Subtract chnl. Nr", "&out of channel Nr", "Store &results in channel Nr "};
    case BiChannelMode::Abs: return {"&Add Channel Nr ", "&to Channel Nr", "&Store abs(sum) in channel Nr"};
    case BiChannelMode::Plot: return {"&Plot channel Nr", "&against chan. Nr", "Store &results in channel Nr "};
    default: return {"&Add Channel Nr ", "&to Channel Nr", "Store &results in channel Nr "};
    }
}

// The channel number of a field, 1..3, or 0.
int ChannelNumber(const QLineEdit* field)
{
    int64_t n = 0;
    return ParseInteger(field->text().toStdString(), n) && n >= 1 && n <= SlotCount ? static_cast<int>(n) : 0;
}

}  // namespace

BiChannelDialog::BiChannelDialog(const Recording& rec, BiChannelChoice& choice, BiChannelMode mode, VkDialogs& ui,
                                 HelpViewer& help, QWidget* parent)
        : QDialog(parent), rec_(rec), choice_(choice), mode_(mode), ui_(ui)
{
    setObjectName("biChannelDialog");
    setWindowTitle("Bi-channel operation");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const std::array<const char*, 3> labels = LabelsOf(mode);
    const std::array<int, 3> slots{choice.BiChnl1, choice.BiChnl2, choice.BiChnlResult};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto* label = new QLabel(labels[i]);
        fields_[i] = new QLineEdit(QString::number(slots[i] + 1));
        fields_[i]->setObjectName(FieldNames[i]);
        fields_[i]->setMaximumWidth(50);
        label->setBuddy(fields_[i]);
        captions_[i] = new QLabel;
        captions_[i]->setObjectName(QString(FieldNames[i]) + "Caption");
        captions_[i]->setMinimumWidth(160);
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(fields_[i], row, 1);
        grid->addWidget(captions_[i], row, 2);
        if (mode == BiChannelMode::Plot && i == ResultRow)
            for (QWidget* w :
                 {static_cast<QWidget*>(label), static_cast<QWidget*>(fields_[i]), static_cast<QWidget*>(captions_[i])})
                w->hide();
        connect(fields_[i], &QLineEdit::textChanged, this, [this, i] { showCaption(i); });
        connect(fields_[i], &QLineEdit::editingFinished, this, [this, i] { showCaption(i); });
        showCaption(i);
    }
    layout->addLayout(grid);
    extras_ = new QVBoxLayout;
    layout->addLayout(extras_);
    if (mode != BiChannelMode::Plot) {
        layout->addWidget(new QLabel("Note: Operation concerns the entire channels, not only a section."));
        layout->addWidget(new QLabel("Operation is only allowed if sampl. rate and start time is identical."));
    }
    layout->addWidget(OkCancelHelp(this, help, "dlgBiChannel.rtf"));
}

void BiChannelDialog::showCaption(std::size_t field)
{
    const int n = ChannelNumber(fields_[field]);
    const bool used = n > 0 && rec_.at(n - 1).ChannelUsed;
    captions_[field]->setText(used ? QString::fromStdString(rec_.desc(n - 1).Caption) : QString());
}

void BiChannelDialog::accept()
{
    std::array<int, 3> numbers{};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        numbers[i] = ChannelNumber(fields_[i]);
        if (numbers[i] == 0) {
            ui_.message("'" + fields_[i]->text().toStdString() + "' is not a channel number: enter 1, 2 or 3.",
                        Severity::Error);
            fields_[i]->setFocus();
            fields_[i]->selectAll();
            return;
        }
    }
    choice_.BiChnl1 = numbers[0] - 1;
    choice_.BiChnl2 = numbers[1] - 1;
    choice_.BiChnlResult = numbers[2] - 1;
    QDialog::accept();
}

}  // namespace vk
