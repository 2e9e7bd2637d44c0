#include "gui/widgets/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "gui/widgets/HelpViewer.h"

namespace vk {

QDialogButtonBox* OkCancelHelp(QDialog* dialog, HelpViewer& help, std::string page)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* helpButton = box->addButton("Help", QDialogButtonBox::HelpRole);
    helpButton->setAutoDefault(false);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(box, &QDialogButtonBox::helpRequested, dialog,
                     [&help, page = std::move(page)] { help.showPage(page); });
    return box;
}

}  // namespace vk
