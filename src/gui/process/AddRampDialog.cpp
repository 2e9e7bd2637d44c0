#include "gui/process/AddRampDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/process/SectionOperation.h"
#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

AddRampDialog::AddRampDialog(VkDialogs& ui, HelpViewer& help, QWidget* parent) : QDialog(parent), ui_(ui)
{
    setObjectName("addRampDialog");
    setWindowTitle("Add ramp");
    ramp_ = new QRadioButton("&Ramp offset");
    ramp_->setObjectName("rbtRamp");
    ramp_->setChecked(true);
    rampHeight_ = new QLineEdit("0");
    rampHeight_->setObjectName("edtRamp");
    auto* equalize = new QRadioButton("&Equalize F4 F5");
    equalize->setObjectName("rbtEqualize");
    connect(ramp_, &QRadioButton::toggled, rampHeight_, &QLineEdit::setEnabled);

    auto* anchor = new QGroupBox("Ramp = 0 at ");
    auto* atF4 = new QRadioButton("F4 Cursor");
    atF4->setObjectName("rbtF4");
    atF4->setChecked(true);
    atF5_ = new QRadioButton("F5 Cursor");
    atF5_->setObjectName("rbtF5");
    auto* anchorLayout = new QHBoxLayout(anchor);
    anchorLayout->addWidget(atF4);
    anchorLayout->addWidget(atF5_);

    auto* layout = new QVBoxLayout(this);
    auto* rampRow = new QHBoxLayout;
    rampRow->addWidget(ramp_);
    rampRow->addWidget(rampHeight_);
    layout->addLayout(rampRow);
    layout->addWidget(equalize);
    layout->addWidget(anchor);
    layout->addWidget(OkCancelHelp(this, help, "dlgAddRamp.rtf"));
}

void AddRampDialog::accept()
{
    height_ = 0;
    if (ramp_->isChecked() && !ParseDecimal(rampHeight_->text().toStdString(), height_)) {
        ui_.message(NotANumberText(rampHeight_->text().toStdString()), Severity::Error);
        rampHeight_->setFocus();
        return;
    }
    code_ = ramp_->isChecked() ? SectionRamp : SectionEqualize;
    variant_ = atF5_->isChecked() ? RampZeroAtF5 : RampZeroAtF4;
    QDialog::accept();
}

}  // namespace vk
