#include "gui/process/CompensationDialog.h"
#include "gui/process/FilterTips.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

constexpr const char* RepeatNote =
    "Ensure that the dive parameters are set properly. Vk uses the dive parametrs to "
    "find the surfaces. (Menu item 'Analysis/Parameters')";

// A sketch of a dive's end with the sensor's slow return, and the reference
// the compensation lifts it to: the end of the surface, or 0 m.
class ReferencePicture : public QWidget {
public:
    explicit ReferencePicture(bool atSurfaceEnd) : surfaceEnd_(atSurfaceEnd) { setFixedSize(150, 70); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        const double zero = 18, surface = surfaceEnd_ ? 30 : zero;
        p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        p.drawLine(QPointF(0, zero), QPointF(width(), zero));
        p.drawText(QPointF(4, zero - 4), "0 m");
        QPainterPath data;  // the ascent, the overshoot above the surface, the slow return
        data.moveTo(0, 66);
        data.cubicTo(20, 40, 30, surface - 2, 45, surface - 12);
        data.cubicTo(70, surface - 14, 100, surface - 2, width(), surface);
        p.setPen(QPen(Qt::black, 1.5));
        p.drawPath(data);
        p.setPen(QPen(Qt::darkGreen, 2));
        p.drawLine(QPointF(45, surface), QPointF(width(), surface));  // the reference
    }

private:
    bool surfaceEnd_;
};

}  // namespace

CompensationDialog::CompensationDialog(CompensationSettings& settings, VkDialogs& ui, HelpViewer& help, QWidget* parent)
        : QDialog(parent), settings_(settings), ui_(ui)
{
    setObjectName("compensationDialog");
    setWindowTitle("Compensate sensor inertia");
    amplitude_ = new QLineEdit(QString::fromStdString(GeneralText(settings.CompAmplitude)));
    amplitude_->setObjectName("edtAmplitude");
    startDepth_ = new QLineEdit(QString::fromStdString(GeneralText(settings.CompStartDepth)));
    startDepth_->setObjectName("edtStartDepth");
    invert_ = new QCheckBox("Invert preview");
    invert_->setObjectName("cbxInvertPreview");
    invert_->setChecked(settings.CompInvertPreview);

    auto* reference = new QGroupBox("Baseline reference ");
    surface_ = new QRadioButton("End of surface is reference");
    surface_->setObjectName("rbtSurfaceReference");
    zero_ = new QRadioButton("0 m is reference");
    zero_->setObjectName("rbtZeroReference");
    // Neither set (as at the start): 0 m.
    (settings.CompSurfaceReference ? surface_ : zero_)->setChecked(true);
    surfacePicture_ = new ReferencePicture(true);
    zeroPicture_ = new ReferencePicture(false);
    auto* referenceLayout = new QGridLayout(reference);
    referenceLayout->addWidget(surface_, 0, 0);
    referenceLayout->addWidget(zero_, 1, 0);
    referenceLayout->addWidget(surfacePicture_, 0, 1, 2, 1);
    referenceLayout->addWidget(zeroPicture_, 0, 1, 2, 1);
    connect(surface_, &QRadioButton::toggled, this, &CompensationDialog::showReference);
    showReference();

    note_ = new QLabel(RepeatNote);
    note_->setObjectName("lblRepeatNote");
    note_->setWordWrap(true);
    note_->setVisible(false);

    repetitive_ = new QPushButton("Repetitive compens.");
    repetitive_->setObjectName("btnRepetitive");
    repetitive_->setDefault(true);
    auto* single = new QPushButton("Single compens.");
    single->setObjectName("btnSingle");
    auto* ok = new QPushButton("OK");
    ok->setObjectName("btnOk");
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("btnCancel");
    auto* helpButton = new QPushButton("Help");
    helpButton->setAutoDefault(false);
    connect(repetitive_, &QPushButton::clicked, this, [this] { store(Run::Repetitive); });
    connect(single, &QPushButton::clicked, this, [this] { store(Run::Single); });
    connect(ok, &QPushButton::clicked, this, [this] { store(Run::None); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [&help] { help.showPage("dlgCompInertia.rtf"); });
    // The note shows while the mouse is over "Repetitive compens.", and goes over the rest.
    setMouseTracking(true);
    repetitive_->installEventFilter(this);
    installEventFilter(this);

    auto* form = new QFormLayout;
    form->addRow("Amplitude A", amplitude_);
    form->addRow("Start comp. at depth d", startDepth_);
    form->addRow(invert_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {repetitive_, single, ok, cancel, helpButton})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(reference);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    ApplyFieldTips(this, CompensationTips());
}

void CompensationDialog::showReference()
{
    surfacePicture_->setVisible(surface_->isChecked());
    zeroPicture_->setVisible(!surface_->isChecked());
}

bool CompensationDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == repetitive_ && event->type() == QEvent::Enter)
        note_->setVisible(true);
    else if (watched == this && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
        note_->setVisible(false);
    return QDialog::eventFilter(watched, event);
}

bool CompensationDialog::store(Run run)
{
    CompensationSettings s = settings_;
    for (auto [field, value] : {std::pair{amplitude_, &s.CompAmplitude}, std::pair{startDepth_, &s.CompStartDepth}}) {
        const std::string text = field->text().trimmed().toStdString();
        if (!ParseDecimal(text, *value)) {
            ui_.message(NotANumberText(text), Severity::Error);
            field->setFocus();
            return false;
        }
    }
    s.CompInvertPreview = invert_->isChecked();
    s.CompSurfaceReference = surface_->isChecked();
    s.CompZeroReference = zero_->isChecked();
    settings_ = s;
    run_ = run;
    accept();
    return true;
}

}  // namespace vk
