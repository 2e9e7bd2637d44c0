#include "gui/dive/ExtendedParamsDialog.h"
#include "gui/dive/DiveParamsTips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/dive/ExtendedParamsRules.h"
#include "core/setup/Workbench.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

QComboBox* Combo(const QString& name, const QStringList& items, int index)
{
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->addItems(items);
    c->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
    return c;
}

}  // namespace

ExtendedParamsDialog::ExtendedParamsDialog(Workbench& wb, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), wb_(wb), ui_(ui)
{
    setObjectName("extendedParamsDialog");
    setWindowTitle("Extended dive characteristics");
    QStringList operations, channels, sections;
    for (const char* item : OperationItems)
        operations << item;
    for (int slot = 0; slot < SlotCount; ++slot)
        channels << QString::fromStdString(ChannelItem(wb.rec, slot));
    for (const char* item : SectionItems)
        sections << item;

    auto* grid = new QGridLayout(this);
    const DiveParameters& p = wb.settings.dive;
    for (int k = 0; k < ExtendedRowCount; ++k) {
        const ExtendedParameterRow& row = p.ExtendedParameters[static_cast<std::size_t>(k)];
        Row& r = rows_[static_cast<std::size_t>(k)];
        r.operation = Combo(QString("cbxOperation%1").arg(k + 1), operations, row.operation);
        r.channel = Combo(QString("cbxChannel%1").arg(k + 1), channels, row.channel);
        r.section = Combo(QString("cbxSection%1").arg(k + 1), sections, row.section);
        r.operation->setToolTip(ExtendedOperationTip);
        r.channel->setToolTip(ExtendedChannelTip);
        r.section->setToolTip(ExtendedSectionTip);
        grid->addWidget(new QLabel("Calc"), k, 0);
        grid->addWidget(r.operation, k, 1);
        grid->addWidget(new QLabel("of channel"), k, 2);
        grid->addWidget(r.channel, k, 3);
        grid->addWidget(new QLabel("at"), k, 4);
        grid->addWidget(r.section, k, 5);
    }

    auto* angles = new QGroupBox("Angles and traveled distances");
    auto* anglesLayout = new QGridLayout(angles);
    speed_ = new QCheckBox("Include ");
    speed_->setObjectName("cbxSpeedAnalysis");
    speed_->setChecked(p.SpeedAnalysis != 0);
    QStringList speedItems;
    for (int slot = 1; slot < SlotCount; ++slot)
        speedItems << channels[slot];
    speedChannel_ = Combo("cbxSpeedChannel", speedItems, wb.settings.SpeedChannel - 1);
    anglesLayout->addWidget(speed_, 0, 0);
    anglesLayout->addWidget(new QLabel("Speed channel"), 0, 1);
    anglesLayout->addWidget(speedChannel_, 0, 2);
    grid->addWidget(angles, ExtendedRowCount, 0, 1, 6);
    myVk_ = new QCheckBox("my Vk");
    myVk_->setObjectName("cbxMyVk");
    myVk_->setChecked(wb.settings.MyVk);
    grid->addWidget(myVk_, ExtendedRowCount + 1, 0, 1, 2);

    grid->addWidget(OkCancelHelp(this, help, "dlgExtDivParms.rtf"), ExtendedRowCount + 2, 0, 1, 6);
    ApplyFieldTips(this, ExtendedParameterTips());
}

void ExtendedParamsDialog::accept()
{
    std::array<ExtendedParameterRow, ExtendedRowCount> rows{};
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k] = {rows_[k].operation->currentIndex(), rows_[k].channel->currentIndex(),
                   rows_[k].section->currentIndex(), false};
    AcceptExtended(rows, speed_->isChecked(), speedChannel_->currentIndex(), wb_.rec, wb_.settings.dive,
                   wb_.settings.SpeedChannel, ui_);
    wb_.settings.MyVk = myVk_->isChecked();
    QDialog::accept();
}

}  // namespace vk
