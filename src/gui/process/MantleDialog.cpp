#include "gui/process/MantleDialog.h"
#include "gui/process/FilterTips.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr const char* NotPositive = " Ampl. and Period must be greater zero.";

}  // namespace

MantleDialog::MantleDialog(MantleSetting& setting, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), setting_(setting), ui_(ui)
{
    setObjectName("mantleDialog");
    setWindowTitle("Mantle");
    period_ = new QLineEdit(QString::number(setting.maxPeriod));
    period_->setObjectName("edtMaxPeriod");
    amplitude_ = new QLineEdit(QString::fromStdString(GeneralText(setting.minAmplitude)));
    amplitude_->setObjectName("edtMinAmplitude");
    above_ = new QRadioButton("Mantle above");
    above_->setObjectName("rbtAbove");
    auto* below = new QRadioButton("Mantle below");
    below->setObjectName("rbtBelow");
    (setting.side == MantleAbove ? above_ : below)->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow("Max period [SI]", period_);
    form->addRow("Min.Amplitude", amplitude_);
    form->addRow(above_);
    form->addRow(below);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelHelp(this, help, "dlgSmoothMantle.rtf"));
    ApplyFieldTips(this, EnvelopeTips());
}

void MantleDialog::accept()
{
    const std::string periodText = period_->text().trimmed().toStdString();
    const std::string amplitudeText = amplitude_->text().trimmed().toStdString();
    int64_t period = 0;
    double amplitude = 0;
    if (!ParseInteger(periodText, period) || period > INT32_MAX) {
        ui_.message(NotAnIntegerText(periodText), Severity::Error);
        return;
    }
    if (!ParseDecimal(amplitudeText, amplitude)) {
        ui_.message(NotANumberText(amplitudeText), Severity::Error);
        return;
    }
    if (!(amplitude > 0) || period < 1) {
        ui_.message(NotPositive, Severity::Error);
        return;
    }
    setting_.maxPeriod = static_cast<int32_t>(period);
    setting_.minAmplitude = amplitude;
    setting_.side = above_->isChecked() ? MantleAbove : MantleBelow;
    QDialog::accept();
}

}  // namespace vk
