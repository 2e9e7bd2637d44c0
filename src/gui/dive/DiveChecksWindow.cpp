#include "gui/dive/DiveChecksWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

constexpr int StartWidth = 800, StartHeight = 320;
enum Column { ColDive, ColBegins, ColWhy, ColGoTo };
const char* const HelpPage = "frmDiveChecks.rtf";

}  // namespace

DiveChecksWindow::DiveChecksWindow(QWidget& window, const std::vector<DiveCheckRow>& rows, const std::string& intro,
                                   HelpViewer& help, GoTo goTo)
        : QDialog(&window, Qt::Tool)
{
    setObjectName("diveChecksWindow");
    setWindowTitle("Dives to check");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(QString::fromStdString(intro));
    label->setObjectName("lblChecks");
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* list = new QTreeWidget;
    list->setObjectName("lvwChecks");
    list->setHeaderLabels({"Dive", "Begins", "Why", ""});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    for (const DiveCheckRow& row : rows) {
        auto* item = new QTreeWidgetItem(list, {QString::number(row.dive.number), QString::fromStdString(row.begins),
                                                QString::fromStdString(row.why)});
        item->setToolTip(ColWhy, QString::fromStdString(row.why));
        auto* button = new QPushButton("Go to");
        button->setObjectName("btnGoTo" + QString::number(row.dive.number));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [goTo, dive = row.dive] { goTo(dive); });
        list->setItemWidget(item, ColGoTo, button);
    }
    for (const int c : {ColDive, ColBegins, ColGoTo})
        list->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(ColWhy, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [&help] { help.showPage(HelpPage); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    resize(StartWidth, StartHeight);
}

void DiveChecksWindow::ShowFor(QWidget& window, const std::vector<DiveCheckRow>& rows, const std::string& intro,
                               HelpViewer& help, GoTo goTo)
{
    delete window.findChild<DiveChecksWindow*>("diveChecksWindow");
    if (rows.empty())
        return;
    (new DiveChecksWindow(window, rows, intro, help, std::move(goTo)))->show();
}

}  // namespace vk
