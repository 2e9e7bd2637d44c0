#include "gui/process/RunMeanDialog.h"
#include "gui/process/FilterTips.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

RunMeanDialog::RunMeanDialog(RunningMeanSetting& setting, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), setting_(setting), ui_(ui)
{
    setObjectName("runMeanDialog");
    setWindowTitle("Running Mean (1-1-1-1-....-1-1)");
    points_ = new QLineEdit(QString::number(setting.n));
    points_->setObjectName("EdtRMR");
    ignore_ = new QLineEdit(QString::number(setting.ignore));
    ignore_->setObjectName("edtIgnoreExtrem");
    up_ = new QRadioButton("Up");
    up_->setObjectName("rbtUp");
    middle_ = new QRadioButton("Middle");
    middle_->setObjectName("rbtMiddle");
    auto* down = new QRadioButton("Down");
    down->setObjectName("rbtDown");
    (setting.direction == RunMeanUp ? up_ : setting.direction == RunMeanMiddle ? middle_ : down)->setChecked(true);
    // Nothing is left out of the mean of "Middle".
    ignore_->setEnabled(!middle_->isChecked());
    connect(middle_, &QRadioButton::toggled, ignore_, [this](bool on) { ignore_->setEnabled(!on); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Repl. by the mean of N values "), 0, 0, 1, 3);
    grid->addWidget(new QLabel("before and after (N<=500)"), 1, 0, 1, 3);
    grid->addWidget(new QLabel("N ="), 2, 0);
    grid->addWidget(points_, 2, 1);
    grid->addWidget(up_, 3, 0);
    grid->addWidget(middle_, 3, 1);
    grid->addWidget(down, 3, 2);
    grid->addWidget(new QLabel("Ignore"), 4, 0);
    grid->addWidget(ignore_, 4, 1);
    grid->addWidget(new QLabel("% of greatest resp."), 4, 2);
    grid->addWidget(new QLabel("smallest values."), 5, 2);
    grid->addWidget(new QLabel("0 < p% < 50 "), 6, 0, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelHelp(this, help, "dlgRunMean.rtf"));
    ApplyFieldTips(this, RunningMeanTips());
}

void RunMeanDialog::accept()
{
    int64_t n = 0, p = 0;
    for (auto [field, value] : {std::pair{points_, &n}, std::pair{ignore_, &p}}) {
        const std::string text = field->text().trimmed().toStdString();
        if (!ParseInteger(text, *value) || *value < INT32_MIN || *value > INT32_MAX) {
            ui_.message(NotAnIntegerText(text), Severity::Error);
            field->setFocus();
            return;
        }
    }
    setting_.n = static_cast<int32_t>(std::min<int64_t>(n, RunMeanMaxN));
    setting_.ignore = static_cast<int32_t>(std::clamp<int64_t>(p, 0, RunMeanMaxIgnore));
    setting_.direction = up_->isChecked() ? RunMeanUp : middle_->isChecked() ? RunMeanMiddle : RunMeanDown;
    QDialog::accept();
}

}  // namespace vk
