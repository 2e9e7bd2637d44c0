#include "gui/view/WindowHeightDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr int MostHeight = 10, LargeStep = 5;

}  // namespace

WindowHeightDialog::WindowHeightDialog(const Recording& rec, int totalSlot, QWidget* parent)
        : QDialog(parent), rec_(rec)
{
    setObjectName("windowHeightDialog");
    setWindowTitle("Change Window Height");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("0"), 0, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel("max"), 0, 0, Qt::AlignRight);
    for (int s = 0; s < SlotCount; ++s) {
        const auto k = static_cast<std::size_t>(s);
        auto* bar = new QScrollBar(Qt::Horizontal);
        bar->setObjectName(QString("sbHeight%1").arg(s));
        bar->setRange(0, MostHeight);
        bar->setSingleStep(1);
        bar->setPageStep(LargeStep);
        bar->setValue(rec.desc(s).WndSze);
        bar->setMinimumWidth(160);
        auto* name = new QLabel(QString::fromStdString(rec.desc(s).Caption));
        const bool loaded = rec.at(s).ChannelUsed;
        bar->setVisible(loaded);
        name->setEnabled(loaded);
        if (s == totalSlot) {
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
            name->setToolTip("Channel of total window");
        }
        grid->addWidget(bar, s + 1, 0);
        grid->addWidget(name, s + 1, 1);
        bars_[k] = bar;
    }
    QDialogButtonBox* buttons = OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

std::array<int, SlotCount> WindowHeightDialog::heights() const
{
    std::array<int, SlotCount> h{};
    for (int s = 0; s < SlotCount; ++s) {
        const auto k = static_cast<std::size_t>(s);
        h[k] = rec_.at(s).ChannelUsed ? bars_[k]->value() : rec_.desc(s).WndSze;
    }
    return h;
}

}  // namespace vk
