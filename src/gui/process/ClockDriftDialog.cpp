#include "gui/process/ClockDriftDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

ClockDriftDialog::ClockDriftDialog(VkDialogs& ui, QWidget* parent) : QDialog(parent), ui_(ui)
{
    setObjectName("clockDriftDialog");
    setWindowTitle("Clock drift correction");
    auto field = [](const char* name) {
        auto* e = new QLineEdit("0");
        e->setObjectName(name);
        return e;
    };
    hours_ = field("edtHours");
    minutes_ = field("edtMinutes");
    seconds_ = field("edtSeconds");
    ahead_ = new QRadioButton("Clock ahead");
    ahead_->setObjectName("rbtAhead");
    ahead_->setChecked(true);
    auto* back = new QRadioButton("Clock back");
    back->setObjectName("rbtBack");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Correct RTC drift by"), 0, 0, 1, 2);
    const std::pair<QLineEdit*, const char*> rows[] = {{hours_, "hours"}, {minutes_, "minutes"}, {seconds_, "seconds"}};
    int row = 1;
    for (const auto& [edit, unit] : rows) {
        grid->addWidget(edit, row, 0);
        grid->addWidget(new QLabel(unit), row++, 1);
    }
    grid->addWidget(ahead_, row, 0);
    grid->addWidget(back, row, 1);
    QDialogButtonBox* buttons = OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void ClockDriftDialog::accept()
{
    int32_t* targets[] = {&drift_.hours, &drift_.minutes, &drift_.seconds};
    QLineEdit* fields[] = {hours_, minutes_, seconds_};
    for (int k = 0; k < 3; ++k) {
        const std::string text = fields[k]->text().trimmed().toStdString();
        int64_t v = 0;
        if (!ParseInteger(text, v) || v < INT32_MIN || v > INT32_MAX) {
            ui_.message(NotAnIntegerText(text), Severity::Error);
            fields[k]->setFocus();
            return;
        }
        *targets[k] = static_cast<int32_t>(v);
    }
    drift_.clockAhead = ahead_->isChecked();
    QDialog::accept();
}

}  // namespace vk
