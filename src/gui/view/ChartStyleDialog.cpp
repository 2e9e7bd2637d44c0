#include "gui/view/ChartStyleDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/view/GridAndLines.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr int MostB = 9;

QRadioButton* Radio(const char* text, const char* name, QButtonGroup* group)
{
    auto* r = new QRadioButton(text);
    r->setObjectName(name);
    group->addButton(r);
    return r;
}

}  // namespace

ChartStyleDialog::ChartStyleDialog(const Recording& rec, const ViewState& view, int slot,
                                   std::function<void(bool)> interpolate, QWidget* parent)
        : QDialog(parent)
{
    setObjectName("chartStyleDialog");
    setWindowTitle("Chart Style");
    const ChartStyleChoice c = CurrentChartStyle(rec, view, slot);
    auto* title = new QLabel(QString::fromStdString(ChannelTitle(rec, slot)));

    // Style: a shape and a scale; no shape button for the styles without one.
    auto* style = new QGroupBox("Style");
    auto* shapeGroup = new QButtonGroup(this);
    const char* shapeNames[] = {"&Solid line", "&Vert. bars", "&Dots", "Points"};
    const char* shapeObjects[] = {"rbtSolid", "rbtBars", "rbtDots", "rbtPoints"};
    auto* styleLayout = new QGridLayout(style);
    for (int k = 0; k < 4; ++k) {
        shapes_[static_cast<std::size_t>(k)] = Radio(shapeNames[k], shapeObjects[k], shapeGroup);
        styleLayout->addWidget(shapes_[static_cast<std::size_t>(k)], k, 0);
    }
    auto* scale = new QGroupBox("Scale");
    auto* scaleGroup = new QButtonGroup(this);
    auto* normal = Radio("&Normal", "rbtNormal", scaleGroup);
    inverted_ = Radio("&Inverted", "rbtInverted", scaleGroup);
    auto* scaleLayout = new QVBoxLayout(scale);
    scaleLayout->addWidget(normal);
    scaleLayout->addWidget(inverted_);
    styleLayout->addWidget(scale, 0, 1, 4, 1);
    if (c.radios.shape > 0) {
        shapes_[static_cast<std::size_t>(c.radios.shape - 1)]->setChecked(true);
        (c.radios.inverted ? inverted_ : normal)->setChecked(true);
    }

    auto* caption = new QGroupBox("Caption (Setting valid for all channels)");
    caption->setToolTip("Concerns all channels");
    auto* captionGroup = new QButtonGroup(this);
    captions_ = {Radio("Invisibl&e", "rbtInvisible", captionGroup), Radio("At &top", "rbtTop", captionGroup),
                 Radio("At &bottom", "rbtBottom", captionGroup)};
    captions_[static_cast<std::size_t>(c.caption)]->setChecked(true);
    name_ = new QLineEdit(QString::fromStdString(c.name));
    name_->setObjectName("edtCaption");
    note_ = new QLabel("Changing the caption does \nnot change the functionality !");
    note_->hide();
    connect(name_, &QLineEdit::textEdited, note_, &QWidget::show);
    auto* captionLayout = new QVBoxLayout(caption);
    for (QRadioButton* r : captions_)
        captionLayout->addWidget(r);
    captionLayout->addWidget(name_);
    captionLayout->addWidget(note_);

    auto* cursors = new QGroupBox("Cursors F8F9 ");
    length_ = new QSpinBox;
    length_->setObjectName("speLength");
    position_ = new QSpinBox;
    position_->setObjectName("spePosition");
    for (QSpinBox* box : {length_, position_})
        box->setRange(0, MostB);
    length_->setValue(c.lenF8F9);
    position_->setValue(c.posF8F9);
    auto* cursorsLayout = new QGridLayout(cursors);
    cursorsLayout->addWidget(new QLabel("Length"), 0, 0);
    cursorsLayout->addWidget(length_, 0, 1);
    cursorsLayout->addWidget(new QLabel("Position"), 1, 0);
    cursorsLayout->addWidget(position_, 1, 1);

    auto* numeric = new QGroupBox("Numeric display ");
    dateAndTime_ = new QCheckBox("Display date and time");
    dateAndTime_->setObjectName("cbxDateTime");
    dateAndTime_->setToolTip("Disabled: display i channel index");
    dateAndTime_->setChecked(c.dateAndTime);
    auto* interpolation = new QCheckBox("Interpolate y-values");
    interpolation->setObjectName("cbxInterpolate");
    interpolation->setToolTip("between adjacent data");
    interpolation->setChecked(view.interpolate);
    connect(interpolation, &QCheckBox::toggled, this, [interpolate](bool on) { interpolate(on); });
    auto* numericLayout = new QVBoxLayout(numeric);
    numericLayout->addWidget(dateAndTime_);
    numericLayout->addWidget(interpolation);

    auto* polynomial = new QLabel("Polynom is applied to this channel");
    polynomial->setObjectName("lblPolynom");
    polynomial->setVisible(rec.desc(slot).bApplyPolynom);

    QDialogButtonBox* buttons = OkCancel(this);
    auto* grid = new QGridLayout;
    grid->addWidget(style, 0, 0);
    grid->addWidget(caption, 0, 1);
    grid->addWidget(cursors, 1, 0);
    grid->addWidget(numeric, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addWidget(polynomial);
    layout->addWidget(buttons);
}

ChartStyleChoice ChartStyleDialog::choice() const
{
    ChartStyleChoice c;
    for (int k = 0; k < 4; ++k)
        if (shapes_[static_cast<std::size_t>(k)]->isChecked())
            c.radios.shape = k + 1;
    c.radios.inverted = inverted_->isChecked();
    for (int k = 0; k < 3; ++k)
        if (captions_[static_cast<std::size_t>(k)]->isChecked())
            c.caption = static_cast<CaptionPlace>(k);
    c.name = name_->text().toStdString();
    c.lenF8F9 = length_->value();
    c.posF8F9 = position_->value();
    c.dateAndTime = dateAndTime_->isChecked();
    return c;
}

}  // namespace vk
