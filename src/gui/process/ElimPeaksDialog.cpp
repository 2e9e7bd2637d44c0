#include "gui/process/ElimPeaksDialog.h"
#include "gui/process/FilterTips.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

QLineEdit* Field(const char* name, const std::string& text)
{
    auto* e = new QLineEdit(QString::fromStdString(text));
    e->setObjectName(name);
    return e;
}

QRadioButton* Radio(const char* name, const char* caption)
{
    auto* r = new QRadioButton(caption);
    r->setObjectName(name);
    return r;
}

}  // namespace

ElimPeaksDialog::ElimPeaksDialog(PeakChoices& choices, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), choices_(choices), ui_(ui)
{
    setObjectName("elimPeaksDialog");
    setWindowTitle("Eliminate Peaks");
    extremes_ = Radio("rbtExtremes", "&Highest and Lowest");
    peaks_ = Radio("rbtPeaks", "&Delete all peaks of an amplitude > ");
    replace_ = Radio("rbtReplace", "&Replace all values");
    auto* options = new QButtonGroup(this);
    for (QRadioButton* r : {extremes_, peaks_, replace_})
        options->addButton(r);
    byValue_ = Radio("rbtByValue", "by");
    byLine_ = Radio("rbtByLine", "by interpolated values");
    auto* replacements = new QButtonGroup(this);
    replacements->addButton(byValue_);
    replacements->addButton(byLine_);
    amplitude_ = Field("edtAmplitude", GeneralText(choices.PeakAmplitude));
    length_ = Field("edtLength", std::to_string(choices.PeakLength));
    value_ = Field("edtValue", GeneralText(choices.threshold));
    replacement_ = Field("edtReplacement", GeneralText(choices.replacement));
    relation_ = new QComboBox;
    relation_->setObjectName("cbxRelation");
    relation_->addItems({"<", ">", "="});
    relation_->setCurrentIndex(static_cast<int>(choices.relation));
    (choices.option == PeakOption::Peaks     ? peaks_
     : choices.option == PeakOption::Replace ? replace_
                                             : extremes_)
        ->setChecked(true);
    (choices.interpolate ? byLine_ : byValue_)->setChecked(true);
    for (QRadioButton* r : {extremes_, peaks_, replace_, byValue_, byLine_})
        connect(r, &QRadioButton::toggled, this, &ElimPeaksDialog::enableFields);
    enableFields();

    auto* grid = new QGridLayout;
    grid->addWidget(extremes_, 0, 0, 1, 4);
    grid->addWidget(peaks_, 1, 0);
    grid->addWidget(amplitude_, 1, 1);
    grid->addWidget(new QLabel("and of duration <"), 2, 0);
    grid->addWidget(length_, 2, 1);
    grid->addWidget(new QLabel("[points]"), 2, 2);
    grid->addWidget(replace_, 3, 0);
    grid->addWidget(relation_, 3, 1);
    grid->addWidget(value_, 3, 2);
    grid->addWidget(byValue_, 4, 1);
    grid->addWidget(replacement_, 4, 2);
    grid->addWidget(byLine_, 5, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelHelp(this, help, "dlgElimPeak.rtf"));
    ApplyFieldTips(this, PeakEliminationTips());
}

void ElimPeaksDialog::enableFields()
{
    amplitude_->setEnabled(peaks_->isChecked());
    length_->setEnabled(peaks_->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{relation_, value_, byValue_, byLine_})
        w->setEnabled(replace_->isChecked());
    replacement_->setEnabled(replace_->isChecked() && byValue_->isChecked());
}

void ElimPeaksDialog::accept()
{
    auto number = [this](QLineEdit* field, double& out) {
        const std::string text = field->text().trimmed().toStdString();
        if (ParseDecimal(text, out))
            return true;
        ui_.message(NotANumberText(text), Severity::Error);
        field->setFocus();
        return false;
    };
    PeakChoices c = choices_;
    if (peaks_->isChecked()) {
        const std::string length = length_->text().trimmed().toStdString();
        int64_t points = 0;
        if (!number(amplitude_, c.PeakAmplitude))
            return;
        if (!ParseInteger(length, points) || points < 0 || points > INT32_MAX) {
            ui_.message(NotAnIntegerText(length), Severity::Error);
            length_->setFocus();
            return;
        }
        c.PeakAmplitude = std::fabs(c.PeakAmplitude);
        c.PeakLength = static_cast<int32_t>(points);
        c.option = PeakOption::Peaks;
    } else if (replace_->isChecked()) {
        if (!number(value_, c.threshold) || (byValue_->isChecked() && !number(replacement_, c.replacement)))
            return;
        c.relation = static_cast<Relation>(relation_->currentIndex());
        c.interpolate = byLine_->isChecked();
        c.PeakAmplitude = c.threshold;  // the comparison value is kept there too
        c.option = PeakOption::Replace;
    } else {
        c.option = PeakOption::Extremes;
    }
    choices_ = c;
    QDialog::accept();
}

}  // namespace vk
