#include "gui/widgets/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "gui/widgets/HelpViewer.h"

namespace vk {

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QPushButton* NamedButton(QWidget* parent, const char* text, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QDialogButtonBox* OkCancelHelp(QDialog* dialog, HelpViewer& help, std::string page)
{
    QDialogButtonBox* box = OkCancel(dialog);
    QPushButton* helpButton = box->addButton("Help", QDialogButtonBox::HelpRole);
    helpButton->setAutoDefault(false);
    QObject::connect(box, &QDialogButtonBox::helpRequested, dialog,
                     [&help, page = std::move(page)] { help.showPage(page); });
    return box;
}

}  // namespace vk
