#include "gui/app/GeneralTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/setup/Coordinates.h"
#include "core/store/NumberText.h"

namespace vk {

GeneralTab::GeneralTab(Settings& settings, QWidget* parent) : QWidget(parent), settings_(settings)
{
    auto* layout = new QVBoxLayout(this);

    auto* setupRow = new QGridLayout;
    setupFile_ = new QLineEdit;
    setupFile_->setObjectName("EditCfgfName");
    auto* read = new QPushButton("&Read config. file");
    read->setObjectName("btnCfgFile");
    read->setAutoDefault(false);
    auto* save = new QPushButton("&Save in config file");
    save->setObjectName("btnSaveConfig");
    save->setAutoDefault(false);
    auto* example = new QPushButton("E&xample recording");
    example->setObjectName("btnExample");
    example->setAutoDefault(false);
    example->setToolTip("Writes a two-day recording of a fur seal with its setup into the folder \"Varnik example\" "
                        "of your documents, if it is not there yet, and reads the setup");
    setupRow->addWidget(setupFile_, 0, 0, 1, 3);
    setupRow->addWidget(read, 1, 0);
    setupRow->addWidget(save, 1, 1);
    setupRow->addWidget(example, 1, 2);
    layout->addLayout(setupRow);

    comment1_ = new QLineEdit;
    comment1_->setObjectName("edtCmt1");
    comment1_->setMaxLength(255);
    comment1_->setToolTip("Your comments, notes to this session/data ");
    comment2_ = new QLineEdit;
    comment2_->setObjectName("edtCmt2");
    comment2_->setMaxLength(255);
    comment2_->setToolTip("Your comment to this session/data");
    // Labelled: both go into every result file's header.
    auto* comments = new QGridLayout;
    auto* label1 = new QLabel("Comment &1");
    label1->setBuddy(comment1_);
    auto* label2 = new QLabel("Comment &2");
    label2->setBuddy(comment2_);
    comments->addWidget(label1, 0, 0);
    comments->addWidget(comment1_, 0, 1);
    comments->addWidget(label2, 1, 0);
    comments->addWidget(comment2_, 1, 1);
    layout->addLayout(comments);

    auto* skip = new QGroupBox("Skip lines of input file (text) that contain this string ");
    auto* skipLayout = new QGridLayout(skip);
    skip1Enabled_ = new QCheckBox;
    skip1Enabled_->setObjectName("cbxSkip1");
    skip1_ = new QLineEdit;
    skip1_->setObjectName("edtSkip1");
    skip2Enabled_ = new QCheckBox;
    skip2Enabled_->setObjectName("cbxSkip2");
    skip2_ = new QLineEdit;
    skip2_->setObjectName("edtSkip2");
    skipLayout->addWidget(skip1Enabled_, 0, 0);
    skipLayout->addWidget(skip1_, 0, 1);
    skipLayout->addWidget(new QLabel("or this string"), 1, 1);
    skipLayout->addWidget(skip2Enabled_, 2, 0);
    skipLayout->addWidget(skip2_, 2, 1);
    layout->addWidget(skip);

    Coordinates& c = settings_.coordinates;
    positions_.reserve(4);
    auto* start = positionGroup("Start Co-ordinates", "Where did the animal start", c.StartCoordLon, c.StartCoordLat);
    auto* end = positionGroup("End Co-ordinates", "End of Route ", c.EndCoordLon, c.EndCoordLat);
    layout->addWidget(start);
    layout->addWidget(end);
    start->hide();  // the dive analysis does not use them
    end->hide();
    layout->addStretch(1);

    setupFile_->installEventFilter(this);
    // Leaving the name field after changing it reads the file.
    connect(setupFile_, &QLineEdit::editingFinished, this, [this] {
        if (setupFile_->isModified()) {
            setupFile_->setModified(false);
            Q_EMIT readSetupRequested();
        }
    });
    connect(read, &QPushButton::clicked, this, &GeneralTab::browseSetupRequested);
    connect(save, &QPushButton::clicked, this, &GeneralTab::saveSetupRequested);
    connect(example, &QPushButton::clicked, this, &GeneralTab::exampleRequested);
    // Comments and skip strings go to the settings as they are typed: nothing
    // typed is lost when the dialog refreshes its fields.
    connect(comment1_, &QLineEdit::textEdited, this, [this] { settings_.Cmt1 = comment1_->text().toStdString(); });
    connect(comment2_, &QLineEdit::textEdited, this, [this] { settings_.Cmt2 = comment2_->text().toStdString(); });
    connect(skip1_, &QLineEdit::textEdited, this, [this] { collect(); });
    connect(skip2_, &QLineEdit::textEdited, this, [this] { collect(); });
    connect(skip1Enabled_, &QCheckBox::clicked, this, [this] {
        collect();
        updateSkipFields();
    });
    connect(skip2Enabled_, &QCheckBox::clicked, this, [this] {
        collect();
        updateSkipFields();
    });
    updateSkipFields();
}

QGroupBox* GeneralTab::positionGroup(const QString& title, const QString& hint, double& lon, double& lat)
{
    auto* group = new QGroupBox(title);
    group->setToolTip(hint);
    auto* grid = new QGridLayout(group);
    const char* names[2] = {"Longitude", "Latitude"};
    double* values[2] = {&lon, &lat};
    for (int row = 0; row < 2; ++row) {
        Position p{new QLineEdit, new QLineEdit, new QLineEdit, new QLineEdit, values[row]};
        grid->addWidget(new QLabel(names[row]), row, 0);
        grid->addWidget(p.decimal, row, 1);
        grid->addWidget(p.degrees, row, 2);
        grid->addWidget(p.minutes, row, 3);
        grid->addWidget(p.seconds, row, 4);
        positions_.push_back(p);
        const std::size_t k = positions_.size() - 1;
        connect(p.decimal, &QLineEdit::editingFinished, this, [this, k] { positionDecimalExit(positions_[k]); });
        for (QLineEdit* part : {p.degrees, p.minutes, p.seconds})
            connect(part, &QLineEdit::editingFinished, this, [this, k] { positionDmsExit(positions_[k]); });
    }
    return group;
}

void GeneralTab::positionDecimalExit(Position& p)
{
    double v = 0.0;
    if (ParseDecimal(p.decimal->text().toStdString(), v))
        *p.value = v;
    fillPositions();
}

void GeneralTab::positionDmsExit(Position& p)
{
    DegreesMinutesSeconds dms;
    dms.degrees = p.degrees->text().toInt();
    dms.minutes = p.minutes->text().toInt();
    dms.seconds = p.seconds->text().toInt();
    *p.value = FromDms(dms);
    fillPositions();
}

void GeneralTab::fillPositions()
{
    for (Position& p : positions_) {
        const DegreesMinutesSeconds dms = ToDms(*p.value);
        p.decimal->setText(QString::number(*p.value, 'f', 4));
        p.degrees->setText(QString::number(dms.degrees));
        p.minutes->setText(QString::number(dms.minutes));
        p.seconds->setText(QString::number(dms.seconds));
    }
}

bool GeneralTab::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the name field reads the file instead of pressing Start.
    if (watched == setupFile_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            setupFile_->setModified(false);
            Q_EMIT readSetupRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GeneralTab::updateSkipFields()
{
    skip1_->setEnabled(skip1Enabled_->isChecked());
    skip2_->setEnabled(skip2Enabled_->isChecked());
}

void GeneralTab::fill(const std::string& setupFile)
{
    setSetupFileName(setupFile);
    comment1_->setText(QString::fromStdString(settings_.Cmt1));
    comment2_->setText(QString::fromStdString(settings_.Cmt2));
    skip1Enabled_->setChecked(settings_.skip.Skip1Enbld);
    skip1_->setText(QString::fromStdString(settings_.skip.Skip1Str));
    skip2Enabled_->setChecked(settings_.skip.Skip2Enbld);
    skip2_->setText(QString::fromStdString(settings_.skip.Skip2Str));
    updateSkipFields();
    fillPositions();
}

void GeneralTab::collect()
{
    settings_.Cmt1 = comment1_->text().toStdString();
    settings_.Cmt2 = comment2_->text().toStdString();
    settings_.skip.Skip1Enbld = skip1Enabled_->isChecked();
    settings_.skip.Skip1Str = skip1_->text().toStdString();
    settings_.skip.Skip2Enbld = skip2Enabled_->isChecked();
    settings_.skip.Skip2Str = skip2_->text().toStdString();
}

QString GeneralTab::setupFileName() const
{
    return setupFile_->text();
}

void GeneralTab::setSetupFileName(const std::string& name)
{
    setupFile_->setText(QString::fromStdString(name));
    setupFile_->setModified(false);
}

}  // namespace vk
