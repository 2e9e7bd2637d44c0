#include "gui/process/FlatBaselineDialog.h"
#include "gui/process/FilterTips.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "core/process/FlatBaseline.h"
#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

FlatBaselineDialog::FlatBaselineDialog(FlatBaselineSettings& settings, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), settings_(settings), ui_(ui)
{
    setObjectName("flatBaselineDialog");
    setWindowTitle("Flat baseline");
    auto* text = new QLabel(
        "Smooth low gradient, but not high gradiented data. Thus it may be used to flatten the "
        "baseline (and the bottom phase) but skip steep ascent and descent phases. ");
    text->setWordWrap(true);
    bar_ = new QSlider(Qt::Horizontal);
    bar_->setObjectName("trbStrength");
    bar_->setRange(0, FlatStrengthMax);
    bar_->setTickInterval(1);
    bar_->setTickPosition(QSlider::TicksBelow);
    bar_->setValue(settings.FlatStrength);
    strength_ = new QLineEdit(QString::number(settings.FlatStrength));
    strength_->setObjectName("edtStrength");
    connect(bar_, &QSlider::valueChanged, strength_, [this](int v) { strength_->setText(QString::number(v)); });
    connect(strength_, &QLineEdit::editingFinished, this, [this] { fieldToBar(); });

    auto* waves = new QGroupBox;
    auto* wavesLayout = new QVBoxLayout(waves);
    const char* captions[] = {"smooth short waves", "smooth medium waves", "smooth long waves"};
    for (int k = 0; k < 3; ++k) {
        waves_[k] = new QRadioButton(captions[k]);
        waves_[k]->setObjectName(QString("rbtWaves%1").arg(k));
        wavesLayout->addWidget(waves_[k]);
    }
    waves_[std::clamp(settings.FlatWaves, 0, 2)]->setChecked(true);
    belowThreshold_ = new QCheckBox("Smooth only below Threshold");
    belowThreshold_->setObjectName("cbxBelowThreshold");
    belowThreshold_->setChecked(settings.FlatBelowThreshold);

    auto* buttons = new QDialogButtonBox;
    QPushButton* start = buttons->addButton("Start smooth", QDialogButtonBox::AcceptRole);
    start->setObjectName("btnStart");
    start->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
    QPushButton* helpButton = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    helpButton->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [&help] { help.showPage("dlgFlatBaseline.rtf"); });

    auto* barRow = new QGridLayout;
    barRow->addWidget(new QLabel("Smooth less"), 0, 0);
    barRow->addWidget(bar_, 0, 1);
    barRow->addWidget(new QLabel("Smooth more"), 0, 2);
    barRow->addWidget(strength_, 1, 1, Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(barRow);
    layout->addWidget(waves);
    layout->addWidget(belowThreshold_);
    layout->addWidget(buttons);
    ApplyFieldTips(this, FlatBaselineTips());
}

bool FlatBaselineDialog::fieldToBar()
{
    const std::string text = strength_->text().trimmed().toStdString();
    int64_t v = 0;
    if (!ParseInteger(text, v) || v < 0 || v > FlatStrengthMax) {
        ui_.message(NotAnIntegerText(text) + " (0 to " + std::to_string(FlatStrengthMax) + ")", Severity::Error);
        strength_->setText(QString::number(bar_->value()));
        return false;
    }
    bar_->setValue(static_cast<int>(v));
    return true;
}

void FlatBaselineDialog::accept()
{
    if (!fieldToBar())
        return;
    settings_.FlatStrength = bar_->value();
    settings_.FlatWaves = waves_[1]->isChecked() ? 1 : waves_[2]->isChecked() ? 2 : 0;
    settings_.FlatBelowThreshold = belowThreshold_->isChecked();
    QDialog::accept();
}

}  // namespace vk
