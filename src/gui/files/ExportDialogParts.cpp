#include "gui/files/ExportDialogParts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/setup/Workbench.h"
#include "core/store/VkDialogs.h"
#include "core/view/ViewState.h"

namespace vk {

QGroupBox* ChoiceGroup(const QString& title, const QStringList& items, QButtonGroup*& buttons, int checked)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    buttons = new QButtonGroup(group);
    for (int k = 0; k < items.size(); ++k) {
        auto* radio = new QRadioButton(items[k]);
        radio->setChecked(k == checked);
        buttons->addButton(radio, k);
        layout->addWidget(radio);
    }
    return group;
}

QGroupBox* SectionGroup(QButtonGroup*& buttons, int checked)
{
    return ChoiceGroup(" Which section ", {"&Selected section", "&Entire channel"}, buttons, checked);
}

void SectionRange(int section, const Workbench& wb, const ViewState& view, double& from, double& to)
{
    if (section == 0) {
        from = view.at.F1;
        to = view.at.F2;
    } else {
        from = 0;
        to = wb.rec.time.LongestSpan;
    }
}

void BrowseInto(QLineEdit* field, VkDialogs& ui, const char* title)
{
    FileRequest request;
    request.title = title;
    request.start = field->text().toStdString();
    request.save = true;
    request.filter = "All files (*)";
    if (const auto chosen = ui.chooseFile(request))
        field->setText(QString::fromStdString(*chosen));
}

}  // namespace vk
