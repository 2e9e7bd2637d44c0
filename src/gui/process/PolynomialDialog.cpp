#include "gui/process/PolynomialDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/Recording.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

constexpr int PictureMargin = 20;  // the formula's picture sits at (20, 20)
constexpr int FieldWidth = 90;

}  // namespace

PolynomialDialog::PolynomialDialog(const Recording& rec, int slot, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), ui_(ui), setting_(PolynomialOf(rec.desc(slot)))
{
    setObjectName("polynomialDialog");
    setWindowTitle(QString("Apply a Polynom to channel %1 (%2)")
                       .arg(slot + 1)
                       .arg(QString::fromStdString(rec.desc(slot).Caption)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(PictureMargin, PictureMargin, PictureMargin, PictureMargin);
    auto* picture = new QLabel;
    picture->setObjectName("imgPoly");
    picture->setPixmap(QPixmap(QString::fromStdString(help.helpFolder() + "poly.bmp")));
    layout->addWidget(picture, 0, Qt::AlignLeft);

    // Numerator A C E G I K above, denominator 1 B D F H J below.
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const QString letter(PolynomialLetters[i]);
        fields_[i] = new QLineEdit;
        fields_[i]->setObjectName("edt" + letter);
        fields_[i]->setFixedWidth(FieldWidth);
        auto* label = new QLabel(letter);
        label->setBuddy(fields_[i]);
        const int row = i % 2 == 0 ? 0 : 2;
        const int column = static_cast<int>(i % 2 == 0 ? i / 2 : i / 2 + 1);
        grid->addWidget(label, row, column, Qt::AlignHCenter);
        grid->addWidget(fields_[i], row + 1, column);
    }
    auto* one = new QLineEdit("1");
    one->setObjectName("edtOne");
    one->setFixedWidth(FieldWidth);
    one->setEnabled(false);
    grid->addWidget(one, 3, 0);
    layout->addLayout(grid);

    apply_ = new QCheckBox("Apply Polynom");
    apply_->setObjectName("cbxApplyPolynom");
    auto* reset = new QPushButton("Reset");
    reset->setObjectName("btnReset");
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, [this] { showSetting(IdentityPolynomial()); });
    auto* row = new QHBoxLayout;
    row->addWidget(apply_);
    row->addStretch();
    row->addWidget(reset);
    layout->addLayout(row);
    layout->addWidget(OkCancelHelp(this, help, "dlgPolynom.rtf"));
    showSetting(setting_);
}

void PolynomialDialog::showSetting(const PolynomialSetting& p)
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::fromStdString(GeneralText(p.coeff[i])));
    apply_->setChecked(p.apply);
}

void PolynomialDialog::accept()
{
    PolynomialSetting p;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const std::string text = fields_[i]->text().toStdString();
        if (!ParseDecimal(text, p.coeff[i])) {
            ui_.message(NotANumberText(text), Severity::Error);
            fields_[i]->setFocus();
            fields_[i]->selectAll();
            return;
        }
    }
    p.apply = apply_->isChecked();
    setting_ = p;
    QDialog::accept();
}

}  // namespace vk
