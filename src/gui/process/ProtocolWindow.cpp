#include "gui/process/ProtocolWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/files/PathNames.h"
#include "core/setup/Workbench.h"
#include "core/view/ViewState.h"

namespace vk {

namespace {

constexpr int StartWidth = 420, StartHeight = 300;

}  // namespace

ProtocolWindow::ProtocolWindow(QWidget& window, const Workbench& wb, const ViewState& view, VkDialogs& ui)
        : QDialog(&window, Qt::Tool | Qt::WindowStaysOnTopHint), window_(window), wb_(wb), view_(view), ui_(ui)
{
    setObjectName("ListViewProtocol");
    setWindowTitle("Protocol");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    list_ = new QTreeWidget;
    list_->setObjectName("lvwProtocol");
    list_->setHeaderLabels({"Onset", "Ending", "Behaviour"});
    list_->setRootIsDecorated(false);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    resize(StartWidth, StartHeight);
}

void ProtocolWindow::addEntry(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers m = key.modifiers();
    const std::optional<char> code = BehaviourCode(
        {key.key(), (m & Qt::KeypadModifier) != 0, (m & Qt::ControlModifier) != 0, (m & Qt::AltModifier) != 0});
    if (!code)
        return;
    rows_.push_back(ProtocolEntry(wb_.rec.time.GlobalStart, view_.at.F4, view_.at.F5, *code, wb_.settings.DateSep));
    const ProtocolRow& r = rows_.back();
    auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(r.onset), QString::fromStdString(r.ending),
                                             QString::fromStdString(r.behaviour)});
    list_->scrollToItem(item);
    window_.activateWindow();
}

void ProtocolWindow::closeEvent(QCloseEvent* event)
{
    const std::string folder = FolderOf(wb_.rec.desc(0).NameIn);
    if (SaveProtocol(rows_, folder, ui_) == ProtocolClose::Kept)
        event->ignore();
    else
        event->accept();
}

bool CloseProtocolWindow(QWidget& window)
{
    auto* protocol = window.findChild<ProtocolWindow*>("ListViewProtocol");
    return !protocol || protocol->close();
}

}  // namespace vk
