#include "gui/calc/PlotChoiceDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/calc/ChannelPlot.h"
#include "core/setup/Settings.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumberField.h"

namespace vk {

PlotChoiceDialog::PlotChoiceDialog(const Recording& rec, BiChannelChoice& channels, PlotChoice& plot,
                                     Settings& settings, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : BiChannelDialog(rec, channels, BiChannelMode::Plot, ui, help, parent),
          plot_(plot),
          settings_(settings),
          ui_(ui),
          colour1_(plot.colour1),
          colour2_(plot.colour2),
          ellipse_(settings.colours.values[ColEllipse])
{
    channel_ = new QLineEdit(QString::fromStdString(plot.colourChannel));
    channel_->setObjectName("edtChanThr");
    channel_->setMaximumWidth(40);
    threshold_ = new QLineEdit(QString::fromStdString(plot.threshold));
    threshold_->setObjectName("edtThr");
    threshold_->setMaximumWidth(80);
    auto* rule = new QHBoxLayout;
    rule->addWidget(new QLabel("If value of channel"));
    rule->addWidget(channel_);
    rule->addWidget(new QLabel("> "));
    rule->addWidget(threshold_);
    rule->addWidget(new QLabel("then color 1 else color 2"));
    rule->addStretch();
    auto* buttons = new QHBoxLayout;
    QPushButton* first = NamedButton(this, "Color 1", "btnColor1");
    QPushButton* second = NamedButton(this, "Color 2", "btnColor2");
    QPushButton* circle = NamedButton(this, "Col. Circle", "btnColCircle");
    connect(first, &QPushButton::clicked, this, [this] { pick(colour1_, "Color 1"); });
    connect(second, &QPushButton::clicked, this, [this] { pick(colour2_, "Color 2"); });
    connect(circle, &QPushButton::clicked, this, [this] { pick(ellipse_, "Col. Circle"); });
    for (QPushButton* b : {first, second, circle})
        buttons->addWidget(b);
    buttons->addStretch();
    extras()->addLayout(rule);
    extras()->addLayout(buttons);
}

void PlotChoiceDialog::pick(int32_t& colour, const char* caption)
{
    if (const std::optional<int32_t> chosen = ui_.chooseColour(caption, colour))
        colour = *chosen;
}

void PlotChoiceDialog::accept()
{
    if (!NumberIn(threshold_, ui_))
        return;
    BiChannelDialog::accept();
    if (result() != QDialog::Accepted)
        return;  // a channel number refused
    plot_.colourChannel = channel_->text().trimmed().toStdString();
    plot_.threshold = threshold_->text().trimmed().toStdString();
    plot_.colour1 = colour1_;
    plot_.colour2 = colour2_;
    settings_.colours.values[ColEllipse] = ellipse_;
}

}  // namespace vk
