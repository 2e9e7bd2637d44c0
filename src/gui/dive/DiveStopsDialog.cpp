#include "gui/dive/DiveStopsDialog.h"
#include "gui/dive/DiveParamsTips.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

DiveStopsDialog::DiveStopsDialog(StopTable& stops, const LinePositions& at, VkDialogs& ui, HelpViewer& help,
                                 QWidget* parent)
        : QDialog(parent), stops_(stops), at_(at), ui_(ui)
{
    setObjectName("diveStopsDialog");
    setWindowTitle("Change Dive stops");
    const StopRows rows = RowsOf(stops, at.F4);
    auto* layout = new QVBoxLayout(this);
    const char* titles[2] = {"Dive stops (Descend phase)", "DiveStops (Ascend phase)"};
    for (std::size_t phase = 0; phase < 2; ++phase) {
        auto* group = new QGroupBox(titles[phase]);
        auto* grid = new QGridLayout(group);
        grid->addWidget(new QLabel("Onset [msec]"), 0, 1);
        grid->addWidget(new QLabel("End [msec]"), 0, 2);
        for (std::size_t k = 0; k < MaxStopsPerPhase; ++k) {
            const StopRow& r = rows[phase][k];
            Row& row = rows_[phase][k];
            row.check = new QCheckBox(QString("&%1").arg(k + 1));
            row.check->setObjectName(QString("cbxStop%1%2").arg(phase).arg(k + 1));
            row.check->setChecked(r.checked);
            row.onset = new QLineEdit(r.checked ? QString::fromStdString(GeneralText(std::round(r.onset))) : QString());
            row.onset->setObjectName(QString("edtOnset%1%2").arg(phase).arg(k + 1));
            row.end = new QLineEdit(r.checked ? QString::fromStdString(GeneralText(std::round(r.end))) : QString());
            row.end->setObjectName(QString("edtEnd%1%2").arg(phase).arg(k + 1));
            row.check->setToolTip(StopCheckTip);
            row.onset->setToolTip(StopOnsetTip);
            row.end->setToolTip(StopEndTip);
            const int line = static_cast<int>(k) + 1;
            grid->addWidget(row.check, line, 0);
            grid->addWidget(row.onset, line, 1);
            grid->addWidget(row.end, line, 2);
        }
        layout->addWidget(group);
    }
    layout->addWidget(OkCancelHelp(this, help, "dlgDiveStops.rtf"));
}

void DiveStopsDialog::accept()
{
    StopRows rows{};
    for (std::size_t phase = 0; phase < 2; ++phase)
        for (std::size_t k = 0; k < MaxStopsPerPhase; ++k) {
            const Row& row = rows_[phase][k];
            StopRow& r = rows[phase][k];
            r.checked = row.check->isChecked();
            if (!r.checked)
                continue;
            for (const auto& [field, value] : {std::pair{row.onset, &r.onset}, std::pair{row.end, &r.end}})
                if (!ParseDecimal(field->text().toStdString(), *value)) {
                    ui_.message(NotANumberText(field->text().toStdString()), Severity::Error);
                    field->setFocus();
                    return;
                }
        }
    for (const std::string& warning : ApplyStopRows(stops_, rows, at_))
        ui_.message(warning, Severity::Warning);
    QDialog::accept();
}

}  // namespace vk
