#include "gui/calc/CountEventsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/store/VkDialogs.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumberField.h"

namespace vk {

CountEventsDialog::CountEventsDialog(EventChoice& choice, std::string folder, VkDialogs& ui, HelpViewer& help,
                                     QWidget* parent)
        : QDialog(parent), choice_(choice), folder_(std::move(folder)), ui_(ui)
{
    setObjectName("countEventsDialog");
    setWindowTitle("Count Events");
    thresholdField_ = new QLineEdit(QString::fromStdString(choice.threshold));
    thresholdField_->setObjectName("edtThreshold");
    above_ = new QRadioButton("Event is a section greater threshold");
    above_->setObjectName("rbtGreater");
    auto* below = new QRadioButton("Event is a section smaller threshold");
    below->setObjectName("rbtSmaller");
    (choice.kind == 1 ? below : above_)->setChecked(true);
    store_ = new QCheckBox("Store Results");
    store_->setObjectName("cbxStore");
    resultsTo_ = new QPushButton("Results to");
    resultsTo_->setObjectName("btnResultsTo");
    resultsTo_->setAutoDefault(false);
    file_ = new QLineEdit(QString::fromStdString(choice.file));
    file_->setObjectName("edtResultFile");
    connect(store_, &QCheckBox::toggled, this, &CountEventsDialog::storeToggled);
    connect(resultsTo_, &QPushButton::clicked, this, &CountEventsDialog::chooseFile);
    store_->setChecked(choice.store);
    storeToggled(choice.store);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Threshold"), 0, 0);
    grid->addWidget(thresholdField_, 0, 1);
    grid->addWidget(above_, 1, 0, 1, 2);
    grid->addWidget(below, 2, 0, 1, 2);
    grid->addWidget(store_, 3, 0, 1, 2);
    grid->addWidget(resultsTo_, 4, 0);
    grid->addWidget(file_, 4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelHelp(this, help, "dlgEvCnt.rtf"));
}

void CountEventsDialog::storeToggled(bool on)
{
    resultsTo_->setEnabled(on);
    file_->setEnabled(on);
}

void CountEventsDialog::chooseFile()
{
    FileRequest request{"Results to", file_->text().isEmpty() ? folder_ : file_->text().toStdString(),
                        "Text files (*.txt);;All files (*)", true};
    if (const std::optional<std::string> file = ui_.chooseFile(request))
        file_->setText(QString::fromStdString(*file));
}

void CountEventsDialog::accept()
{
    const std::optional<double> t = NumberIn(thresholdField_, ui_);
    if (!t)
        return;
    threshold_ = *t;
    choice_.threshold = thresholdField_->text().toStdString();
    choice_.kind = above_->isChecked() ? 0 : 1;
    choice_.store = store_->isChecked();
    choice_.file = file_->text().toStdString();
    QDialog::accept();
}

}  // namespace vk
