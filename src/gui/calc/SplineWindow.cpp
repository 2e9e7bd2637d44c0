#include "gui/calc/SplineWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/view/RedrawRequest.h"
#include "gui/calc/ClickTools.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

SplineWindow::SplineWindow(GraphWindow& window, ClickTools& tools)
        : QDialog(&window, Qt::Tool | Qt::WindowStaysOnTopHint), window_(window), tools_(tools)
{
    setObjectName("splineWindow");
    setWindowTitle("Splining");
    setAttribute(Qt::WA_DeleteOnClose);
    add_ = new QCheckBox("Add nodes by click");
    add_->setObjectName("cbxAddNodes");
    moveAll_ = new QCheckBox("Move all nodes");
    moveAll_->setObjectName("cbxMoveAll");
    moveAll_->setToolTip("else single node");
    // Each switches the other off.
    connect(add_, &QCheckBox::toggled, this, [this](bool on) {
        tools_.addNodes = on;
        if (on)
            moveAll_->setChecked(false);
    });
    connect(moveAll_, &QCheckBox::toggled, this, [this](bool on) {
        tools_.moveAll = on;
        if (on)
            add_->setChecked(false);
    });
    auto button = [this](const char* text, const char* name) { return NamedButton(this, text, name); };
    QPushButton* last = button(".. last node", "btnDiscardLast");
    QPushButton* all = button(".. all nodes", "btnDiscardAll");
    QPushButton* replaceButton = button("Replace", "btnReplace");
    replaceButton->setToolTip(".. channel value by spline ");
    QPushButton* help = button("Help", "btnHelp");
    connect(last, &QPushButton::clicked, this, &SplineWindow::discardLast);
    connect(all, &QPushButton::clicked, this, &SplineWindow::discardAll);
    connect(replaceButton, &QPushButton::clicked, this, &SplineWindow::replace);
    connect(help, &QPushButton::clicked, this, [&window] { window.help().showPage("mniSpline.rtf"); });

    auto* discard = new QGroupBox("Discard ..");
    auto* discardLayout = new QVBoxLayout(discard);
    discardLayout->addWidget(last);
    discardLayout->addWidget(all);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(add_);
    layout->addWidget(moveAll_);
    layout->addWidget(discard);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(replaceButton);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    add_->setChecked(true);
}

SplineWindow::~SplineWindow()
{
    // Closing switches node adding off; the nodes stay.
    tools_.addNodes = false;
    tools_.moveAll = false;
}

void SplineWindow::discardLast()
{
    window_.runCommand([this](CommandContext&) {
        tools_.nodes.removeLast();
        return CommandResult{redraw::AllStrips};
    });
    window_.activateWindow();
}

void SplineWindow::discardAll()
{
    window_.runCommand([this](CommandContext&) {
        tools_.nodes.clear();
        return CommandResult{redraw::AllStrips};
    });
    window_.activateWindow();
}

void SplineWindow::replace()
{
    bool replaced = false;
    window_.runCommand([this, &replaced](CommandContext& cx) {
        CommandResult r = ReplaceBySpline(cx, tools_.nodes, tools_.spline);
        replaced = tools_.nodes.empty();
        return r;
    });
    if (replaced)
        close();
}

}  // namespace vk
