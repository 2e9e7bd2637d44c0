#include "gui/view/SubsidiaryLinesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr int ValueWidth = 90;

}  // namespace

SubsidiaryLinesDialog::SubsidiaryLinesDialog(SubsidiaryLines& lines, VkDialogs& ui, QWidget* parent)
        : QDialog(parent), lines_(lines), ui_(ui)
{
    setObjectName("subsidiaryLinesDialog");
    setWindowTitle("Subsidiary lines");
    auto* grid = new QGridLayout;
    for (int n = 1; n <= SubsidiaryRowCount; ++n) {
        const auto k = static_cast<std::size_t>(n - 1);
        const SubsidiaryLine& line = lines[static_cast<std::size_t>(n)];
        checks_[k] = new QCheckBox(QString("Line &%1 at y= ").arg(n));
        checks_[k]->setObjectName(QString("cbxLine%1").arg(n));
        checks_[k]->setChecked(line.flag == 1.0);
        values_[k] = new QLineEdit(QString::fromStdString(GeneralText(line.value)));
        values_[k]->setObjectName(QString("edtLine%1").arg(n));
        values_[k]->setFixedWidth(ValueWidth);
        grid->addWidget(checks_[k], n - 1, 0);
        grid->addWidget(values_[k], n - 1, 1);
    }
    QDialogButtonBox* buttons = OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void SubsidiaryLinesDialog::accept()
{
    std::array<SubsidiaryRow, SubsidiaryRowCount> rows;
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k] = {checks_[k]->isChecked(), values_[k]->text().toStdString()};
    if (const int bad = ApplySubsidiaryRows(lines_, rows)) {
        const auto k = static_cast<std::size_t>(bad - 1);
        ui_.message("Line " + std::to_string(bad) + ": " + NotANumberText(rows[k].text), Severity::Error);
        values_[k]->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace vk
