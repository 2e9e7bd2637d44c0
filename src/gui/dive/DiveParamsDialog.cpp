#include "gui/dive/DiveParamsDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <tuple>

#include "core/dive/SurfaceCheck.h"
#include "core/dive/Thumbnail.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "gui/dive/BoutFitWindow.h"
#include "gui/dive/DiveParamsTips.h"
#include "gui/dive/DiveShapesDialog.h"
#include "gui/dive/ExtendedParamsDialog.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A value filled in from the record: marked until the dialog closes.
void MarkFromRecord(QWidget* w, const char* how)
{
    w->setProperty("suggested", true);
    w->setStyleSheet("background: #fff3a0");
    w->setToolTip(QString(how) + " from the record: OK keeps it, Cancel drops it. " + w->toolTip());
}

std::string S(const QLineEdit* e)
{
    return e->text().toStdString();
}

// A group with its rows in a grid: label, field.
struct Rows {
    QGridLayout* grid;
    int row = 0;
    void add(QWidget* left, QWidget* right = nullptr)
    {
        if (right) {
            grid->addWidget(left, row, 0);
            grid->addWidget(right, row, 1);
        } else {
            grid->addWidget(left, row, 0, 1, 2);
        }
        ++row;
    }
};

// Which field shows which value of the entry, and which box which switch.
using F = DiveParamsDialog::Fields;
using C = DiveParamsDialog::Checks;
using E = DiveParmsEntry;
const std::pair<std::string E::*, QLineEdit * F::*> TextBindings[] = {
    {&E::level, &F::level},
    {&E::slopEoD, &F::slopEoD},
    {&E::slimness, &F::slimness},
    {&E::thrBott, &F::thrBott},
    {&E::limitGradient, &F::limitGradient},
    {&E::threshold, &F::threshold},
    {&E::windowSize, &F::windowSize},
    {&E::baselineQuality, &F::baselineQuality},
    {&E::timeBelow, &F::timeBelow},
    {&E::timeAbove, &F::timeAbove},
    {&E::skipDives, &F::skipDives},
    {&E::wiggDefPercent, &F::wiggDefPercent},
    {&E::tnWidth, &F::tnWidth},
    {&E::tnHeight, &F::tnHeight},
    {&E::stopGradient, &F::stopGradient},
    {&E::stopLength1, &F::stopLength1},
    {&E::stopMinDuration, &F::stopMinDuration},
    {&E::wiggAmplitude, &F::wiggAmplitude},
    {&E::wiggDuration, &F::wiggDuration},
    {&E::wiggRelPreceding, &F::wiggRelPreceding},
    {&E::boutIntermediate, &F::boutIntermediate},
    {&E::boutMinDur, &F::boutMinDur},
    {&E::surroundMaxDepth, &F::surroundMaxDepth},
    {&E::nrBins, &F::nrBins},
    {&E::minBin, &F::minBin},
    {&E::maxBin, &F::maxBin},
    {&E::diveFile, &F::diveFile},
    {&E::boutFile, &F::boutFile},
    {&E::wiggleFile, &F::wiggleFile},
};
const std::pair<bool E::*, QCheckBox * C::*> CheckBindings[] = {
    {&E::automatic, &C::automatic},
    {&E::autoGradient, &C::autoGradient},
    {&E::searchNextAtW, &C::searchNextAtW},
    {&E::trekBaseline, &C::trekBaseline},
    {&E::adjustSize, &C::adjustSize},
    {&E::noVisualisation, &C::noVisualisation},
    {&E::makeImages, &C::makeImages},
    {&E::absDifferences, &C::absDifferences},
    {&E::burnishDives, &C::burnishDives},
    {&E::pauseRelating, &C::pauseRelating},
    {&E::thumbnail, &C::thumbnail},
    {&E::tnNumber, &C::tnNumber},
    {&E::tnDate, &C::tnDate},
    {&E::tnTime, &C::tnTime},
    {&E::tnShape, &C::tnShape},
    {&E::diveStops, &C::diveStops},
    {&E::waterTemp, &C::waterTemp},
    {&E::frequencies, &C::frequencies},
};

QGroupBox* Group(const char* title, const char* hint = nullptr)
{
    auto* g = new QGroupBox(title);
    if (hint)
        g->setToolTip(hint);
    return g;
}

}  // namespace

DiveParamsDialog::DiveParamsDialog(Workbench& wb, int activeSlot, bool automatic, VkDialogs& ui, HelpViewer& help,
                                   QWidget* parent)
        : QDialog(parent), wb_(wb), activeSlot_(activeSlot), ui_(ui), help_(help)
{
    setObjectName("diveParamsDialog");
    setWindowTitle("Dive Parameters");
    build(automatic);
    ApplyFieldTips(this, DiveParameterTips());
    show(EntryOf(wb_));
    applyEnabling();
    updateResultCaptions();
}

QLineEdit* DiveParamsDialog::field(QLineEdit* Fields::*slot, const char* name)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaximumWidth(90);
    fields_.*slot = e;
    return e;
}

QCheckBox* DiveParamsDialog::check(QCheckBox* Checks::*slot, const char* name, const char* text)
{
    auto* c = new QCheckBox(text);
    c->setObjectName(name);
    checks_.*slot = c;
    connect(c, &QCheckBox::toggled, this, [this] { applyEnabling(); });
    return c;
}

QLabel* DiveParamsDialog::label(const char* text, QLabel* Labels::*slot, const char* name)
{
    auto* l = new QLabel(text);
    if (slot) {
        l->setObjectName(name);
        labels_.*slot = l;
    }
    return l;
}

void DiveParamsDialog::build(bool automatic)
{
    // Dive duration.
    auto* duration = Group("Dive duration (F4 F5)", "Controls the setting of F4 and F5");
    Rows d{new QGridLayout(duration)};
    QLabel* level = label("&Level [0..1] *100%", &Labels::level, "lblLevel");
    level->setBuddy(field(&Fields::level, "edtLevel"));
    d.add(level, fields_.level);
    QLabel* slope = label("&SlopeEoD [m/sec]", &Labels::slopEoD, "lblSlopEoD");
    slope->setBuddy(field(&Fields::slopEoD, "edtSlopEoD"));
    d.add(slope, fields_.slopEoD);
    criterion_ = new QComboBox;
    criterion_->setObjectName("cbxCriterion");
    criterion_->addItems({"AND", "OR", "only Level", "only Slope", "only Level abs."});
    d.add(label("Criterion", &Labels::criterion, "lblCriterion"), criterion_);
    d.add(check(&Checks::automatic, "cbxAutoDive", "Automatic"));
    connect(criterion_, &QComboBox::currentIndexChanged, this, [this] { applyEnabling(); });

    // Bottom phase.
    auto* bottom = Group("Bottom phase/ V-shape", "Controls F8, F9, U-, V-shape");
    Rows b{new QGridLayout(bottom)};
    b.add(label("Slimness [0..1]", &Labels::slimness, "lblSlimness"), field(&Fields::slimness, "edtRelBottSurf"));
    QLabel* thr = label("T&hresh. Bottom [0..1]", &Labels::thrBott, "lblThrBott");
    thr->setBuddy(field(&Fields::thrBott, "edtThrBott"));
    b.add(thr, fields_.thrBott);
    b.add(check(&Checks::autoGradient, "cbxAutoGradient", "Auto Gradient"));
    b.add(label("Limit gradient [m/sec]", &Labels::limitGradient, "lblSlopBoB"),
          field(&Fields::limitGradient, "edtSlopBoB"));

    auto* kind = Group("Kind searching bottom phase");
    auto* kindLayout = new QGridLayout(kind);
    bottomKind_ = new QButtonGroup(this);
    const char* kinds[4][2] = {{"rbNormal", "Normal"},
                               {"rbFixBottom", "Fix Bottom"},
                               {"rbTamrin", "As 'Tamrin'"},
                               {"rbWiggleDefined", "Wiggle defined"}};
    for (int k = 0; k < 4; ++k) {
        auto* r = new QRadioButton(kinds[k][1]);
        r->setObjectName(kinds[k][0]);
        bottomKind_->addButton(r, k);
        kindLayout->addWidget(r, k, 0);
    }
    kindLayout->addWidget(field(&Fields::wiggDefPercent, "edtWiggDefPercent"), 3, 1);
    connect(bottomKind_, &QButtonGroup::idClicked, this, [this] { applyEnabling(); });

    auto* general = new QWidget;
    Rows g{new QGridLayout(general)};
    QLabel* threshold = label("&Threshold [m]");
    threshold->setBuddy(field(&Fields::threshold, "edtThreshold"));
    g.add(threshold, fields_.threshold);
    QLabel* window = label("&Window size [sec.]");
    window->setBuddy(field(&Fields::windowSize, "edtWindowSize"));
    g.add(window, fields_.windowSize);
    g.add(label("Baseline \nstability [m]"), field(&Fields::baselineQuality, "edtBaselineQuality"));
    // Depth grows downwards: "below" n m counts the time not deeper than n m, "above" the time deeper.
    g.add(label("Time below", &Labels::timeBelow, "lblTimeBelow"), field(&Fields::timeBelow, "edtTimeBelow"));
    g.add(label("Time above", &Labels::timeAbove, "lblTimeAbove"), field(&Fields::timeAbove, "edtTimeAbove"));
    connect(fields_.baselineQuality, &QLineEdit::editingFinished, this,
            [this] { BaselineFieldLeft(S(fields_.baselineQuality), ui_); });
    for (QLineEdit* f : {fields_.timeBelow, fields_.timeAbove})
        connect(f, &QLineEdit::textChanged, this, [this] { applyEnabling(); });

    // Switches.
    auto* switches = new QWidget;
    Rows s{new QGridLayout(switches)};
    s.add(check(&Checks::searchNextAtW, "cbxSearchNext", "Search next event at key W"));
    s.add(check(&Checks::trekBaseline, "cbxTrekBaseline", "Trac&k surface baseline"));
    s.add(check(&Checks::adjustSize, "cbxAdjustYSize", "&Adjust size (y-direction)"));
    s.add(check(&Checks::noVisualisation, "cbxNoVisualisation", "No &visualisation (Fast analysis)"));
    s.add(check(&Checks::makeImages, "cbxMakeImages", "Create images of analyzed dives"));
    s.add(check(&Checks::absDifferences, "cbxAbsDifferences", "Abs Differences"));
    s.add(check(&Checks::burnishDives, "cbxBurnishDives", "Burnish Dives"));
    s.add(check(&Checks::pauseRelating, "cbxEndDiveValid", "Pause relating to recent event .."));
    s.add(label("Skip Dives < n sec", &Labels::skipDives, "lblSkipDives"), field(&Fields::skipDives, "edtMinDiveDur"));
    connect(fields_.skipDives, &QLineEdit::textChanged, this, [this] { applyEnabling(); });
    checks_.searchNextAtW->setEnabled(!automatic);
    checks_.noVisualisation->setEnabled(automatic);

    // Dive stops.
    auto* stops = Group("Dive Stops");
    Rows st{new QGridLayout(stops)};
    st.add(check(&Checks::diveStops, "cbxDiveStops", "Include Dive Stops"));
    st.add(label("Gradient  [m/sec]", &Labels::stopGradient, "lblStopGradient"),
           field(&Fields::stopGradient, "edtStopGradient"));
    st.add(label("Length 1"), field(&Fields::stopLength1, "edtStopLength1"));
    st.add(label("Min. Duration [SI]"), field(&Fields::stopMinDuration, "edtStopMinDuration"));

    // Wiggles.
    wiggles_ = Group(" Wiggles");
    wiggles_->setObjectName("gbxWiggles");
    Rows w{new QGridLayout(wiggles_)};
    wiggMethod_ = new QPushButton;
    wiggMethod_->setObjectName("btnWiggMethod");
    wiggMethod_->setAutoDefault(false);  // Return in a field must not toggle the method
    w.add(wiggMethod_);
    w.add(label("", &Labels::wiggAmplitude, "lblWiggAmplitude"), field(&Fields::wiggAmplitude, "edtWiggAmplitude"));
    w.add(label("", &Labels::wiggDuration, "lblWiggDuration"), field(&Fields::wiggDuration, "edtWiggDuration"));
    w.add(label("relative to preceding", &Labels::wiggRelPreceding, "lblWiggRelative"),
          field(&Fields::wiggRelPreceding, "edtWiggRelative"));
    connect(wiggMethod_, &QPushButton::clicked, this, [this] {
        wiggMethodValue_ = (wiggMethodValue_ + 1) % 3;
        applyEnabling();
    });

    // Thumbnails.
    thumbnails_ = Group("Thumbnails");
    Rows t{new QGridLayout(thumbnails_)};
    t.add(check(&Checks::thumbnail, "cbxThumbnail", "Thumbnail"));
    t.add(check(&Checks::tnNumber, "cbxTNNumber", "Number"), check(&Checks::tnDate, "cbxTNDate", "Date"));
    t.add(check(&Checks::tnTime, "cbxTNTime", "Time"), check(&Checks::tnShape, "cbxTNShape", "Shape"));
    t.add(label("Width", &Labels::tnWidth, "lblTNWidth"), field(&Fields::tnWidth, "edtTNWidth"));
    t.add(label("Height", &Labels::tnHeight, "lblTNHeight"), field(&Fields::tnHeight, "edtTNHeight"));
    for (QCheckBox* c : {checks_.thumbnail, checks_.tnNumber, checks_.tnDate, checks_.tnTime, checks_.tnShape})
        connect(c, &QCheckBox::toggled, this, [this] { checkThumbnailText(); });
    connect(fields_.tnWidth, &QLineEdit::editingFinished, this, [this] { checkThumbnailText(); });

    // Bouts, water temperature, frequencies.
    auto* bouts = Group("Bouts");
    Rows bo{new QGridLayout(bouts)};
    QLabel* inter = label("Bout &Intermed. [sec]");
    inter->setBuddy(field(&Fields::boutIntermediate, "edtBoutIntermediate"));
    bo.add(inter, fields_.boutIntermediate);
    fitBouts_ = NamedButton(this, "Fit from record", "btnFitBouts");
    fitBouts_->setToolTip(
        "The bout pause where short pauses within bouts and long ones between them are equally "
        "likely, fitted to the dives between F4 and F5");
    fitBouts_->setAutoDefault(false);
    fitBouts_->hide();
    connect(fitBouts_, &QPushButton::clicked, this, [this] { fitBouts(); });
    bo.grid->addWidget(fitBouts_, bo.row - 1, 2);
    QLabel* minDur = label("Bout &Min. Dur. [sec]");
    minDur->setBuddy(field(&Fields::boutMinDur, "edtBoutMinDur"));
    bo.add(minDur, fields_.boutMinDur);
    for (QLineEdit* e : {fields_.boutIntermediate, fields_.boutMinDur})
        e->setMinimumWidth(fontMetrics().horizontalAdvance("0000000"));  // room beside the button
    auto* water = Group("Water Temp", "For channel water temperature ");
    Rows wa{new QGridLayout(water)};
    wa.add(check(&Checks::waterTemp, "cbxWaterTemp", "Include temp."));
    wa.add(label("Surround max. depth [sec]"), field(&Fields::surroundMaxDepth, "edtSurroundMaxDepth"));
    auto* frequencies = Group("Frequencies");
    Rows fr{new QGridLayout(frequencies)};
    fr.add(label("Nr Bins"), field(&Fields::nrBins, "edtNrBins"));
    fr.add(label("Min y-value"), field(&Fields::minBin, "edtMinBin"));
    fr.add(label("Max y-value"), field(&Fields::maxBin, "edtMaxBin"));
    fr.add(check(&Checks::frequencies, "cbxFrequencies", "Include frequencies to result file"));

    // Result files.
    auto fileGroup = [this](QGroupBox*& group, QLineEdit* Fields::*slot, const char* name) {
        group = Group("", "Name of result file");
        auto* l = new QHBoxLayout(group);
        QLineEdit* e = field(slot, name);
        e->setMaximumWidth(QWIDGETSIZE_MAX);
        l->addWidget(e);
        connect(e, &QLineEdit::editingFinished, this, [this] { updateResultCaptions(); });
        return group;
    };
    auto* files = new QWidget;
    auto* filesLayout = new QHBoxLayout(files);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    filesLayout->addWidget(fileGroup(diveFileGroup_, &Fields::diveFile, "edtDiveFile"));
    filesLayout->addWidget(fileGroup(boutFileGroup_, &Fields::boutFile, "edtBoutFile"));
    filesLayout->addWidget(fileGroup(wiggleFileGroup_, &Fields::wiggleFile, "edtWiggleFile"));

    // Buttons.
    auto* extended = new QPushButton("Extended ...");
    extended->setObjectName("btnExtended");
    extended->setAutoDefault(false);
    auto* shapes = new QPushButton("Shapes");
    shapes->setObjectName("btnShapes");
    shapes->setAutoDefault(false);
    QDialogButtonBox* box = OkCancelHelp(this, help_, "DivPar.rtf");
    ok_ = box->button(QDialogButtonBox::Ok);
    ok_->setText(automatic ? "Start" : "OK");
    ok_->setObjectName("btnOK");
    if (automatic)
        ok_->setToolTip("Accept settings and start AutoAnalyse");
    box->addButton(extended, QDialogButtonBox::ActionRole);
    box->addButton(shapes, QDialogButtonBox::ActionRole);
    QPushButton* suggestButton = NamedButton(this, "Suggest from record", "btnSuggest");
    suggestButton->setToolTip("Threshold, surface baseline, wiggle duration and results from the loaded record");
    box->addButton(suggestButton, QDialogButtonBox::ActionRole);
    connect(suggestButton, &QPushButton::clicked, this, [this] { suggest(); });
    suggested_ = new QLabel;
    suggested_->setObjectName("lblSuggested");
    suggested_->setWordWrap(true);
    suggested_->hide();
    connect(extended, &QPushButton::clicked, this, [this] {
        ExtendedParamsDialog dialog(wb_, ui_, help_, this);
        dialog.exec();
    });
    connect(shapes, &QPushButton::clicked, this, [this] {
        DiveShapesDialog dialog(wb_.settings.dive, ui_, help_, this);
        dialog.exec();
    });

    // The labels that open a page on the method.
    for (QLabel* l : {labels_.level, labels_.stopGradient, labels_.slimness, labels_.thrBott}) {
        l->installEventFilter(this);
        l->setCursor(Qt::PointingHandCursor);
    }

    auto* grid = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(duration);
    left->addWidget(bottom);
    left->addWidget(kind);
    left->addWidget(general);
    left->addStretch();
    auto* middle = new QVBoxLayout;
    middle->addWidget(switches);
    middle->addWidget(stops);
    middle->addWidget(wiggles_);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(thumbnails_);
    right->addWidget(bouts);
    right->addWidget(water);
    right->addWidget(frequencies);
    right->addWidget(suggested_);  // in the column's free room: the dialog need not grow for it
    right->addStretch();
    grid->addLayout(left, 0, 0);
    grid->addLayout(middle, 0, 1);
    grid->addLayout(right, 0, 2);
    grid->addWidget(files, 1, 0, 1, 3);
    // Row 3: the stretch an automatic run analyses, where the caller shows it.
    grid->addWidget(box, 4, 0, 1, 3);
    ok_->setDefault(true);  // only takes once the button is inside the dialog
}

bool DiveParamsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == labels_.level || watched == labels_.stopGradient)
            openHtml("Dive/DiveStops.htm");
        else if (watched == labels_.slimness || watched == labels_.thrBott)
            openHtml("ThrBottAndRelBottSrf.htm");
    }
    return QDialog::eventFilter(watched, event);
}

void DiveParamsDialog::openHtml(const char* page)
{
    ui_.openDocument(help_.helpFolder() + page);
}

void DiveParamsDialog::show(const DiveParmsEntry& e)
{
    for (const auto& [value, field] : TextBindings)
        (fields_.*field)->setText(Q(e.*value));
    for (const auto& [value, box] : CheckBindings) {
        const QSignalBlocker block(checks_.*box);
        (checks_.*box)->setChecked(e.*value);
    }
    {
        const QSignalBlocker block(criterion_);
        criterion_->setCurrentIndex(e.criterion);
    }
    if (QAbstractButton* b = bottomKind_->button(e.bottomKind))
        b->setChecked(true);
    wiggMethodValue_ = e.wiggMethod;
}

DiveParmsEntry DiveParamsDialog::entry() const
{
    DiveParmsEntry e;
    for (const auto& [value, field] : TextBindings)
        e.*value = S(fields_.*field);
    for (const auto& [value, box] : CheckBindings)
        e.*value = (checks_.*box)->isChecked();
    e.criterion = criterion_->currentIndex();
    e.bottomKind = std::max(bottomKind_->checkedId(), 0);
    e.wiggMethod = wiggMethodValue_;
    return e;
}

void DiveParamsDialog::applyEnabling()
{
    DiveParmsEntry e = entry();
    const DiveParmsState s = EnablingOf(e);
    if (QString::fromStdString(e.level) != fields_.level->text())
        fields_.level->setText(Q(e.level));
    fields_.slimness->setEnabled(s.slimness);
    labels_.slimness->setEnabled(s.slimness);
    fields_.thrBott->setEnabled(s.thrBott);
    labels_.thrBott->setEnabled(s.thrBott);
    fields_.limitGradient->setEnabled(s.limitGradient);
    labels_.limitGradient->setEnabled(s.limitGradient);
    checks_.autoGradient->setEnabled(s.autoGradient);
    fields_.wiggDefPercent->setEnabled(s.wiggDefPercent);
    for (QWidget* w : std::initializer_list<QWidget*>{checks_.tnNumber, checks_.tnDate, checks_.tnTime, checks_.tnShape,
                                                      fields_.tnWidth, fields_.tnHeight})
        w->setEnabled(s.thumbnailParts);
    labels_.tnWidth->setEnabled(s.thumbnailParts);
    labels_.tnHeight->setEnabled(s.thumbnailParts);
    wiggMethod_->setText(Q(s.wiggButton));
    wiggles_->setTitle(Q(s.wiggGroup));
    labels_.wiggAmplitude->setText(Q(s.wiggAmplitudeLabel));
    labels_.wiggDuration->setText(Q(s.wiggDurationLabel));
    fields_.wiggAmplitude->setVisible(s.wiggAmplitude);
    fields_.wiggDuration->setVisible(s.wiggDuration);
    fields_.wiggRelPreceding->setVisible(s.wiggRelative);
    labels_.wiggRelPreceding->setVisible(s.wiggRelative);
    labels_.timeBelow->setEnabled(s.timeBelowLabel);
    labels_.timeAbove->setEnabled(s.timeAboveLabel);
    labels_.skipDives->setEnabled(s.skipLabel);
    fields_.level->setEnabled(s.level);
    labels_.level->setEnabled(s.level);
    labels_.level->setText(Q(s.levelLabel));
    fields_.slopEoD->setEnabled(s.slope);
    labels_.slopEoD->setEnabled(s.slope);
    criterion_->setEnabled(s.criterion);
    labels_.criterion->setEnabled(s.criterion);
}

void DiveParamsDialog::updateResultCaptions()
{
    const std::tuple<QGroupBox*, const char*, QLineEdit*> groups[] = {
        {diveFileGroup_, "Result File Dive", fields_.diveFile},
        {boutFileGroup_, "Result File Bouts", fields_.boutFile},
        {wiggleFileGroup_, "Result File Wiggles", fields_.wiggleFile}};
    for (const auto& [group, base, file] : groups) {
        const GroupCaption c = ResultCaption(base, S(file));
        group->setTitle(Q(c.text));
        group->setStyleSheet(c.exists ? "QGroupBox { color: red; }" : "");
    }
}

void DiveParamsDialog::checkThumbnailText()
{
    applyEnabling();
    const DiveParmsEntry e = entry();
    if (!e.thumbnail)
        return;
    ThumbnailSettings t;
    t.TN_nr = e.tnNumber;
    t.TN_date = e.tnDate;
    t.TN_time = e.tnTime;
    t.TN_shape = e.tnShape;
    const std::string stamp = ThumbnailStamp(t, 999, wb_.rec.time.GlobalStart, 'U');
    bool ok = false;
    const int width = fields_.tnWidth->text().toInt(&ok);
    if (ok && QFontMetrics(font()).horizontalAdvance(Q(stamp)) > width)
        ui_.message("Too much text for thumbnail\r\nIncrease width", Severity::Warning);
}

void DiveParamsDialog::accept()
{
    DiveParmsEntry e = entry();
    const AcceptResult r = AcceptDiveParms(e, wb_, activeSlot_, ui_);
    fields_.nrBins->setText(Q(e.nrBins));
    if (!r.close)
        return;
    if (suggestedSpeed_)
        wb_.settings.dive.SpeedAnalysis = 1;
    if (suggestedLenRest_ > 0)
        wb_.settings.dive.LenRest = suggestedLenRest_;
    QDialog::accept();
}

void DiveParamsDialog::suggest()
{
    suggest(SuggestParameters(wb_.rec, EstimateSurface(wb_.rec, AnalysisSlot), wb_.settings.dive,
                              wb_.settings.SpeedChannel));
}

void DiveParamsDialog::suggest(const ParameterSuggestion& s)
{
    const auto mark = [](QWidget* w) { MarkFromRecord(w, "Suggested"); };
    const DiveParameters& p = s.params;
    if (s.threshold) {
        fields_.threshold->setText(QString::fromStdString(GeneralText(p.Threshold)));
        mark(fields_.threshold);
    }
    if (s.trekBaseline) {
        checks_.trekBaseline->setChecked(true);
        mark(checks_.trekBaseline);
    }
    if (s.wiggDuration) {
        fields_.wiggDuration->setText(QString::number(p.WiggDuration));
        mark(fields_.wiggDuration);
    }
    if (s.waterTemp) {
        checks_.waterTemp->setChecked(true);
        mark(checks_.waterTemp);
    }
    // Kept at OK: the end rule has no field, speed is set in the Extended dialog.
    suggestedLenRest_ = s.lenRest ? p.LenRest : 0;
    suggestedSpeed_ = s.speed;
    const std::string said = SuggestionText(s);
    suggested_->setText(said.empty() ? "The record suggests no change."
                                     : "Suggested from the record (marked): " + Q(said) +
                                           ". OK keeps them, Cancel drops them.");
    suggested_->show();
    adjustSize();  // where the column's room is not enough, the fields keep theirs
    applyEnabling();
}

void DiveParamsDialog::setBoutFitter(BoutFitter fitter)
{
    boutFitter_ = std::move(fitter);
    fitBouts_->setVisible(static_cast<bool>(boutFitter_));
}

void DiveParamsDialog::fitBouts()
{
    if (!boutFitter_)
        return;
    const std::optional<DiveParameters> p = EnteredDiveParameters(entry(), wb_.settings, ui_);
    if (!p)
        return;
    // Only Halt gets through while the dives are searched.
    QProgressDialog progress("Searching the dives between F4 and F5 ...", "Halt", 0, 100, this);
    progress.setObjectName("boutFitProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    const StretchFit fit = boutFitter_(*p, [&progress](double share) {
        progress.setValue(static_cast<int>(share * 100));
        QApplication::processEvents();
        return progress.wasCanceled();
    });
    progress.reset();
    if (fit.halted) {
        ui_.status("Bout criterion: halted, nothing fitted");
        return;
    }
    BoutFitWindow window(fit, p->BoutIntermediate, help_, this);
    if (ExecDialog(window) != QDialog::Accepted || !fit.fit.fitted())
        return;
    fields_.boutIntermediate->setText(QString::number(BoutPauseOf(fit.fit)));
    MarkFromRecord(fields_.boutIntermediate, "Fitted");
}

}  // namespace vk

namespace vk {

void DiveParamsDialog::showStretch(std::function<QString()> describe, std::function<void()> wholeRecord)
{
    auto* stretch = new QLabel(describe());
    stretch->setObjectName("lblStretch");
    stretch->setWordWrap(true);
    auto* whole = NamedButton(this, "Whole record", "btnWholeRecord");
    whole->setToolTip("Analyse from the first sample to the last: F4 and F5 go to the record's ends");
    connect(whole, &QPushButton::clicked, this, [stretch, describe, wholeRecord] {
        wholeRecord();
        stretch->setText(describe());
    });
    auto* row = new QHBoxLayout;
    row->addWidget(stretch, 1);
    row->addWidget(whole);
    static_cast<QGridLayout*>(layout())->addLayout(row, 3, 0, 1, 3);
}

}  // namespace vk
