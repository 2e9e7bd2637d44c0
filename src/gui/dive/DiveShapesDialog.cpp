#include "gui/dive/DiveShapesDialog.h"
#include "gui/dive/DiveParamsTips.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "core/store/NumberText.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

DiveShapesDialog::DiveShapesDialog(DiveParameters& p, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), p_(p), ui_(ui)
{
    setObjectName("diveShapesDialog");
    setWindowTitle("Dive shapes");
    static const char* const names[ShapeBarCount] = {"YFormFactor", "YFormDivision", "WShapeHeight", "ParabolaHeight",
                                                     "LShapeParm"};
    auto* layout = new QVBoxLayout(this);
    QGroupBox* group = nullptr;
    for (int bar = 0; bar < ShapeBarCount; ++bar) {
        const ShapeBarInfo& info = ShapeBarOf(bar);
        if (!group || group->title() != info.group) {
            group = new QGroupBox(info.group);
            group->setLayout(new QVBoxLayout);
            layout->addWidget(group);
        }
        auto* row = new QHBoxLayout;
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setObjectName(QString("trb") + names[bar]);
        slider->setRange(info.lo, info.hi);
        auto* field = new QLineEdit;
        field->setObjectName(QString("edt") + names[bar]);
        field->setMaximumWidth(80);
        const double value = ShapeParameter(p, bar);
        slider->setValue(BarPosition(bar, value));
        field->setText(QString::fromStdString(GeneralText(value)));
        // The field moves the bar, the bar rewrites the field.
        connect(slider, &QSlider::valueChanged, this, [field, bar](int position) {
            field->setText(QString::fromStdString(GeneralText(BarValue(bar, position))));
        });
        connect(field, &QLineEdit::textEdited, this, [slider, bar](const QString& text) {
            double v = 0;
            if (ParseDecimal(text.toStdString(), v)) {
                const QSignalBlocker block(slider);
                slider->setValue(BarPosition(bar, v));
            }
        });
        bars_[static_cast<std::size_t>(bar)] = slider;
        fields_[static_cast<std::size_t>(bar)] = field;
        static_cast<QVBoxLayout*>(group->layout())->addWidget(new QLabel(info.text));
        row->addWidget(slider);
        row->addWidget(field);
        static_cast<QVBoxLayout*>(group->layout())->addLayout(row);
    }
    auto* note = new QLabel(
        "Note: U / V-shape is controlled by the  'Slimness' parameter at the previous dialogue.  "
        "Reduce V shapes to get more U,W,Y,L,P shapes");
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(OkCancelHelp(this, help, "dlgDiveShapes.rtf"));
    ApplyFieldTips(this, DiveShapeTips());
}

void DiveShapesDialog::accept()
{
    std::array<int, ShapeBarCount> positions{};
    std::array<std::string, ShapeBarCount> fields;
    for (std::size_t k = 0; k < positions.size(); ++k) {
        positions[k] = bars_[k]->value();
        fields[k] = fields_[k]->text().toStdString();
    }
    if (AcceptShapes(positions, fields, p_, ui_))
        QDialog::accept();
}

}  // namespace vk
