#include "gui/dive/DiveParamsDialog.h"

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
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/dive/Thumbnail.h"
#include "core/store/VkDialogs.h"
#include "gui/dive/DiveShapesDialog.h"
#include "gui/dive/ExtendedParamsDialog.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
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

QGroupBox* Group(const char* title, const char* hint = nullptr)
{
    auto* g = new QGroupBox(title);
    if (hint)
        g->setToolTip(hint);
    return g;
}

}  // namespace

TfrmDiveParms::TfrmDiveParms(Workbench& wb, int activeSlot, bool automatic, VkDialogs& ui, HelpViewer& help,
                             QWidget* parent)
        : QDialog(parent), wb_(wb), activeSlot_(activeSlot), ui_(ui), help_(help)
{
    setObjectName("frmDiveParms");
    setWindowTitle("Dive Parameters");
    build(automatic);
    show(EntryOf(wb_));
    applyEnabling();
    updateResultCaptions();
}

QLineEdit* TfrmDiveParms::field(const char* name, const char* hint)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaximumWidth(90);
    if (hint)
        e->setToolTip(hint);
    fields_.insert(name, e);
    return e;
}

QCheckBox* TfrmDiveParms::check(const char* name, const char* text, const char* hint)
{
    auto* c = new QCheckBox(text);
    c->setObjectName(name);
    if (hint)
        c->setToolTip(hint);
    checks_.insert(name, c);
    connect(c, &QCheckBox::toggled, this, [this] { applyEnabling(); });
    return c;
}

QLabel* TfrmDiveParms::label(const char* text, const char* name)
{
    auto* l = new QLabel(text);
    if (name) {
        l->setObjectName(name);
        labels_.insert(name, l);
    }
    return l;
}

void TfrmDiveParms::build(bool automatic)
{
    // Dive duration.
    auto* duration = Group("Dive duration (F4 F5)", "Controls the setting of F4 and F5");
    Rows d{new QGridLayout(duration)};
    QLabel* level = label("&Level [0..1] *100%", "lblLevel");
    level->setBuddy(field("edtLevel", "greater -> Dive dur. smaller"));
    d.add(level, fields_["edtLevel"]);
    QLabel* slope = label("&SlopeEoD [m/sec]", "lblSlopEoD");
    slope->setBuddy(field("edtSlopEoD", "greater -> Dive dur. smaller"));
    d.add(slope, fields_["edtSlopEoD"]);
    criterion_ = new QComboBox;
    criterion_->setObjectName("cbxCriterion");
    criterion_->addItems({"AND", "OR", "only Level", "only Slope", "only Level abs."});
    d.add(label("Criterion", "lblCriterion"), criterion_);
    d.add(check("cbxAutoDive", "Automatic"));
    connect(criterion_, &QComboBox::currentIndexChanged, this, [this] { applyEnabling(); });

    // Bottom phase.
    auto* bottom = Group("Bottom phase/ V-shape", "Controls F8, F9, U-, V-shape");
    Rows b{new QGridLayout(bottom)};
    b.add(label("Slimness [0..1]", "lblSlimness"), field("edtRelBottSurf", "small -> more U-shapes"));
    QLabel* thr = label("T&hresh. Bottom [0..1]", "lblThrBott");
    thr->setBuddy(field("edtThrBott", "small -> longer bottom, more U-shapes"));
    b.add(thr, fields_["edtThrBott"]);
    b.add(check("cbxAutoGradient", "Auto Gradient", "Autom. asc./descent detection"));
    b.add(label("Limit gradient [m/sec]", "lblSlopBoB"), field("edtSlopBoB", "great -> Bottom long, more U-shapes"));

    auto* kind = Group("Kind searching bottom phase");
    auto* kindLayout = new QGridLayout(kind);
    bottomKind_ = new QButtonGroup(this);
    const char* kinds[4][3] = {{"rbNormal", "Normal", nullptr},
                               {"rbFixBottom", "Fix Bottom", "Set bott. at 'Thresh. Bottom'"},
                               {"rbTamrin", "As 'Tamrin'", nullptr},
                               {"rbWiggleDefined", "Wiggle defined", nullptr}};
    for (int k = 0; k < 4; ++k) {
        auto* r = new QRadioButton(kinds[k][1]);
        r->setObjectName(kinds[k][0]);
        if (kinds[k][2])
            r->setToolTip(kinds[k][2]);
        bottomKind_->addButton(r, k);
        kindLayout->addWidget(r, k, 0);
    }
    kindLayout->addWidget(field("edtWiggDefPercent", "Bottom if Wigg. deeper P % of max depth"), 3, 1);
    connect(bottomKind_, &QButtonGroup::idClicked, this, [this] { applyEnabling(); });

    auto* general = new QWidget;
    Rows g{new QGridLayout(general)};
    QLabel* threshold = label("&Threshold [m]");
    threshold->setBuddy(field("edtThreshold", "small -> find more dives"));
    g.add(threshold, fields_["edtThreshold"]);
    QLabel* window = label("&Window size [sec.]");
    window->setBuddy(field("edtWindowSize"));
    g.add(window, fields_["edtWindowSize"]);
    g.add(label("Baseline \nstability [m]"), field("edtBaselineQuality", "baseline moves < n meter from dive to dive"));
    // Depth grows downwards: "below" n m counts the time not deeper than n m, "above" the time deeper.
    g.add(label("Time below", "lblTimeBelow"),
          field("edtTimeBelow", "Time spent not deeper than n m (shallower or at n m); 0 = off"));
    g.add(label("Time above", "lblTimeAbove"), field("edtTimeAbove", "Time spent deeper than n m; 0 = off"));
    connect(fields_["edtBaselineQuality"], &QLineEdit::editingFinished, this,
            [this] { BaselineFieldLeft(S(fields_["edtBaselineQuality"]), ui_); });
    for (const char* name : {"edtTimeBelow", "edtTimeAbove"})
        connect(fields_[name], &QLineEdit::textChanged, this, [this] { applyEnabling(); });

    // Switches.
    auto* switches = new QWidget;
    Rows s{new QGridLayout(switches)};
    s.add(check("cbxSearchNext", "Search next event at key W", "Disabled: at 'W' only export results, no search"));
    s.add(check("cbxTrekBaseline", "Tre&kk Baseline", "Set y(F5)=0 when event found"));
    s.add(check("cbxAdjustYSize", "&Adjust size (y-direction)", "Fit vert. size of event autom."));
    s.add(check("cbxNoVisualisation", "No &visualisation (Fast analysis)"));
    s.add(check("cbxMakeImages", "Create images of analyzed dives", "Stored in subdir \\images"));
    s.add(check("cbxAbsDifferences", "Abs Differences", "abs(Diff) of max depth, duration"));
    s.add(check("cbxBurnishDives", "Burnish Dives"));
    s.add(check("cbxEndDiveValid", "Pause relating to recent event ..", ".. even if skipped by 'Q'"));
    s.add(label("Skip Dives < n sec", "lblSkipDives"), field("edtMinDiveDur"));
    connect(fields_["edtMinDiveDur"], &QLineEdit::textChanged, this, [this] { applyEnabling(); });
    checks_["cbxSearchNext"]->setEnabled(!automatic);
    checks_["cbxNoVisualisation"]->setEnabled(automatic);

    // Dive stops.
    auto* stops = Group("Dive Stops");
    Rows st{new QGridLayout(stops)};
    st.add(check("cbxDiveStops", "Include Dive Stops"));
    st.add(label("Gradient  [m/sec]", "lblStopGradient"), field("edtStopGradient"));
    st.add(label("Length 1"), field("edtStopLength1"));
    st.add(label("Min. Duration [SI]"), field("edtStopMinDuration"));

    // Wiggles.
    wiggles_ = Group(" Wiggles");
    wiggles_->setObjectName("gbxWiggles");
    Rows w{new QGridLayout(wiggles_)};
    wiggMethod_ = new QPushButton;
    wiggMethod_->setObjectName("btnWiggMethod");
    wiggMethod_->setToolTip("Click to change");
    wiggMethod_->setAutoDefault(false);  // Return in a field must not toggle the method
    w.add(wiggMethod_);
    w.add(label("", "lblWiggAmplitude"), field("edtWiggAmplitude", "Ignore W. if smaller"));
    w.add(label("", "lblWiggDuration"), field("edtWiggDuration", "Ignore W. if longer"));
    w.add(label("relative to preceed.", "lblWiggRelative"), field("edtWiggRelative"));
    connect(wiggMethod_, &QPushButton::clicked, this, [this] {
        wiggMethodValue_ = (wiggMethodValue_ + 1) % 3;
        applyEnabling();
    });

    // Thumbnails.
    thumbnails_ = Group("Thumbnails");
    Rows t{new QGridLayout(thumbnails_)};
    t.add(check("cbxThumbnail", "Thumbnail"));
    t.add(check("cbxTNNumber", "Number"), check("cbxTNDate", "Date"));
    t.add(check("cbxTNTime", "Time"), check("cbxTNShape", "Shape"));
    t.add(label("Width", "lblTNWidth"), field("edtTNWidth"));
    t.add(label("Height", "lblTNHeight"), field("edtTNHeight"));
    for (const char* name : {"cbxThumbnail", "cbxTNNumber", "cbxTNDate", "cbxTNTime", "cbxTNShape"})
        connect(checks_[name], &QCheckBox::toggled, this, [this] { checkThumbnailText(); });
    connect(fields_["edtTNWidth"], &QLineEdit::editingFinished, this, [this] { checkThumbnailText(); });

    // Bouts, water temperature, frequencies.
    auto* bouts = Group("Bouts");
    Rows bo{new QGridLayout(bouts)};
    QLabel* inter = label("Bout &Intermed. [sec]");
    inter->setBuddy(field("edtBoutIntermediate"));
    bo.add(inter, fields_["edtBoutIntermediate"]);
    QLabel* minDur = label("Bout &Min. Dur. [sec]");
    minDur->setBuddy(field("edtBoutMinDur"));
    bo.add(minDur, fields_["edtBoutMinDur"]);
    auto* water = Group("Water Temp", "For channel water temperature ");
    Rows wa{new QGridLayout(water)};
    wa.add(check("cbxWaterTemp", "Include temp."));
    wa.add(label("Surround max. depth [sec]"), field("edtSurroundMaxDepth", "Calc. mean temp. around max depth "));
    auto* frequencies = Group("Frequencies");
    Rows fr{new QGridLayout(frequencies)};
    fr.add(label("Nr Bins"), field("edtNrBins", "max 30"));
    fr.add(label("Min y-value"), field("edtMinBin"));
    fr.add(label("Max y-value"), field("edtMaxBin"));
    fr.add(check("cbxFrequencies", "Include frequencies to result file"));

    // Result files.
    auto fileGroup = [this](QGroupBox*& group, const char* name) {
        group = Group("", "Name of result file");
        auto* l = new QHBoxLayout(group);
        QLineEdit* e = field(name);
        e->setMaximumWidth(QWIDGETSIZE_MAX);
        l->addWidget(e);
        connect(e, &QLineEdit::editingFinished, this, [this] { updateResultCaptions(); });
        return group;
    };
    auto* files = new QWidget;
    auto* filesLayout = new QHBoxLayout(files);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    filesLayout->addWidget(fileGroup(diveFileGroup_, "edtDiveFile"));
    filesLayout->addWidget(fileGroup(boutFileGroup_, "edtBoutFile"));
    filesLayout->addWidget(fileGroup(wiggleFileGroup_, "edtWiggleFile"));

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
    connect(extended, &QPushButton::clicked, this, [this] {
        TfrmExtDiveParm dialog(wb_, ui_, help_, this);
        dialog.exec();
    });
    connect(shapes, &QPushButton::clicked, this, [this] {
        TfrmDiveShapes dialog(wb_.settings.dive, ui_, help_, this);
        dialog.exec();
    });

    // The labels that open a page on the method.
    for (const char* name : {"lblLevel", "lblStopGradient", "lblSlimness", "lblThrBott"}) {
        labels_[name]->installEventFilter(this);
        labels_[name]->setCursor(Qt::PointingHandCursor);
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
    right->addStretch();
    grid->addLayout(left, 0, 0);
    grid->addLayout(middle, 0, 1);
    grid->addLayout(right, 0, 2);
    grid->addWidget(files, 1, 0, 1, 3);
    grid->addWidget(box, 2, 0, 1, 3);
    ok_->setDefault(true);  // only takes once the button is inside the dialog
}

bool TfrmDiveParms::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == labels_["lblLevel"] || watched == labels_["lblStopGradient"])
            openHtml("Dive/DiveStops.htm");
        else if (watched == labels_["lblSlimness"] || watched == labels_["lblThrBott"])
            openHtml("ThrBottAndRelBottSrf.htm");
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmDiveParms::openHtml(const char* page)
{
    ui_.openDocument(help_.helpFolder() + page);
}

void TfrmDiveParms::show(const DiveParmsEntry& e)
{
    auto set = [this](const char* name, const std::string& text) { fields_[name]->setText(Q(text)); };
    auto tick = [this](const char* name, bool on) {
        const QSignalBlocker block(checks_[name]);
        checks_[name]->setChecked(on);
    };
    set("edtLevel", e.level);
    set("edtSlopEoD", e.slopEoD);
    {
        const QSignalBlocker block(criterion_);
        criterion_->setCurrentIndex(e.criterion);
    }
    tick("cbxAutoDive", e.automatic);
    set("edtRelBottSurf", e.slimness);
    set("edtThrBott", e.thrBott);
    tick("cbxAutoGradient", e.autoGradient);
    set("edtSlopBoB", e.limitGradient);
    set("edtThreshold", e.threshold);
    set("edtWindowSize", e.windowSize);
    set("edtBaselineQuality", e.baselineQuality);
    set("edtTimeBelow", e.timeBelow);
    set("edtTimeAbove", e.timeAbove);
    tick("cbxSearchNext", e.searchNextAtW);
    tick("cbxTrekBaseline", e.trekBaseline);
    tick("cbxAdjustYSize", e.adjustSize);
    tick("cbxNoVisualisation", e.noVisualisation);
    tick("cbxMakeImages", e.makeImages);
    tick("cbxAbsDifferences", e.absDifferences);
    tick("cbxBurnishDives", e.burnishDives);
    tick("cbxEndDiveValid", e.pauseRelating);
    set("edtMinDiveDur", e.skipDives);
    if (QAbstractButton* b = bottomKind_->button(e.bottomKind))
        b->setChecked(true);
    set("edtWiggDefPercent", e.wiggDefPercent);
    tick("cbxThumbnail", e.thumbnail);
    tick("cbxTNNumber", e.tnNumber);
    tick("cbxTNDate", e.tnDate);
    tick("cbxTNTime", e.tnTime);
    tick("cbxTNShape", e.tnShape);
    set("edtTNWidth", e.tnWidth);
    set("edtTNHeight", e.tnHeight);
    tick("cbxDiveStops", e.diveStops);
    set("edtStopGradient", e.stopGradient);
    set("edtStopLength1", e.stopLength1);
    set("edtStopMinDuration", e.stopMinDuration);
    wiggMethodValue_ = e.wiggMethod;
    set("edtWiggAmplitude", e.wiggAmplitude);
    set("edtWiggDuration", e.wiggDuration);
    set("edtWiggRelative", e.wiggRelPreceding);
    set("edtBoutIntermediate", e.boutIntermediate);
    set("edtBoutMinDur", e.boutMinDur);
    tick("cbxWaterTemp", e.waterTemp);
    set("edtSurroundMaxDepth", e.surroundMaxDepth);
    set("edtNrBins", e.nrBins);
    set("edtMinBin", e.minBin);
    set("edtMaxBin", e.maxBin);
    tick("cbxFrequencies", e.frequencies);
    set("edtDiveFile", e.diveFile);
    set("edtBoutFile", e.boutFile);
    set("edtWiggleFile", e.wiggleFile);
}

DiveParmsEntry TfrmDiveParms::entry() const
{
    auto text = [this](const char* name) { return S(fields_[name]); };
    auto on = [this](const char* name) { return checks_[name]->isChecked(); };
    DiveParmsEntry e;
    e.level = text("edtLevel");
    e.slopEoD = text("edtSlopEoD");
    e.criterion = criterion_->currentIndex();
    e.automatic = on("cbxAutoDive");
    e.slimness = text("edtRelBottSurf");
    e.thrBott = text("edtThrBott");
    e.autoGradient = on("cbxAutoGradient");
    e.limitGradient = text("edtSlopBoB");
    e.threshold = text("edtThreshold");
    e.windowSize = text("edtWindowSize");
    e.baselineQuality = text("edtBaselineQuality");
    e.timeBelow = text("edtTimeBelow");
    e.timeAbove = text("edtTimeAbove");
    e.searchNextAtW = on("cbxSearchNext");
    e.trekBaseline = on("cbxTrekBaseline");
    e.adjustSize = on("cbxAdjustYSize");
    e.noVisualisation = on("cbxNoVisualisation");
    e.makeImages = on("cbxMakeImages");
    e.absDifferences = on("cbxAbsDifferences");
    e.burnishDives = on("cbxBurnishDives");
    e.pauseRelating = on("cbxEndDiveValid");
    e.skipDives = text("edtMinDiveDur");
    e.bottomKind = std::max(bottomKind_->checkedId(), 0);
    e.wiggDefPercent = text("edtWiggDefPercent");
    e.thumbnail = on("cbxThumbnail");
    e.tnNumber = on("cbxTNNumber");
    e.tnDate = on("cbxTNDate");
    e.tnTime = on("cbxTNTime");
    e.tnShape = on("cbxTNShape");
    e.tnWidth = text("edtTNWidth");
    e.tnHeight = text("edtTNHeight");
    e.diveStops = on("cbxDiveStops");
    e.stopGradient = text("edtStopGradient");
    e.stopLength1 = text("edtStopLength1");
    e.stopMinDuration = text("edtStopMinDuration");
    e.wiggMethod = wiggMethodValue_;
    e.wiggAmplitude = text("edtWiggAmplitude");
    e.wiggDuration = text("edtWiggDuration");
    e.wiggRelPreceding = text("edtWiggRelative");
    e.boutIntermediate = text("edtBoutIntermediate");
    e.boutMinDur = text("edtBoutMinDur");
    e.waterTemp = on("cbxWaterTemp");
    e.surroundMaxDepth = text("edtSurroundMaxDepth");
    e.nrBins = text("edtNrBins");
    e.minBin = text("edtMinBin");
    e.maxBin = text("edtMaxBin");
    e.frequencies = on("cbxFrequencies");
    e.diveFile = text("edtDiveFile");
    e.boutFile = text("edtBoutFile");
    e.wiggleFile = text("edtWiggleFile");
    return e;
}

void TfrmDiveParms::applyEnabling()
{
    DiveParmsEntry e = entry();
    const DiveParmsState s = EnablingOf(e);
    if (QString::fromStdString(e.level) != fields_["edtLevel"]->text())
        fields_["edtLevel"]->setText(Q(e.level));
    fields_["edtRelBottSurf"]->setEnabled(s.slimness);
    labels_["lblSlimness"]->setEnabled(s.slimness);
    fields_["edtThrBott"]->setEnabled(s.thrBott);
    labels_["lblThrBott"]->setEnabled(s.thrBott);
    fields_["edtSlopBoB"]->setEnabled(s.limitGradient);
    labels_["lblSlopBoB"]->setEnabled(s.limitGradient);
    checks_["cbxAutoGradient"]->setEnabled(s.autoGradient);
    fields_["edtWiggDefPercent"]->setEnabled(s.wiggDefPercent);
    for (const char* name : {"cbxTNNumber", "cbxTNDate", "cbxTNTime", "cbxTNShape"})
        checks_[name]->setEnabled(s.thumbnailParts);
    for (const char* name : {"edtTNWidth", "edtTNHeight"})
        fields_[name]->setEnabled(s.thumbnailParts);
    labels_["lblTNWidth"]->setEnabled(s.thumbnailParts);
    labels_["lblTNHeight"]->setEnabled(s.thumbnailParts);
    wiggMethod_->setText(Q(s.wiggButton));
    wiggles_->setTitle(Q(s.wiggGroup));
    labels_["lblWiggAmplitude"]->setText(Q(s.wiggAmplitudeLabel));
    labels_["lblWiggDuration"]->setText(Q(s.wiggDurationLabel));
    fields_["edtWiggAmplitude"]->setVisible(s.wiggAmplitude);
    fields_["edtWiggDuration"]->setVisible(s.wiggDuration);
    fields_["edtWiggRelative"]->setVisible(s.wiggRelative);
    labels_["lblWiggRelative"]->setVisible(s.wiggRelative);
    labels_["lblTimeBelow"]->setEnabled(s.timeBelowLabel);
    labels_["lblTimeAbove"]->setEnabled(s.timeAboveLabel);
    labels_["lblSkipDives"]->setEnabled(s.skipLabel);
    fields_["edtLevel"]->setEnabled(s.level);
    labels_["lblLevel"]->setEnabled(s.level);
    labels_["lblLevel"]->setText(Q(s.levelLabel));
    fields_["edtSlopEoD"]->setEnabled(s.slope);
    labels_["lblSlopEoD"]->setEnabled(s.slope);
    criterion_->setEnabled(s.criterion);
    labels_["lblCriterion"]->setEnabled(s.criterion);
}

void TfrmDiveParms::updateResultCaptions()
{
    const std::pair<QGroupBox*, std::pair<const char*, const char*>> groups[] = {
        {diveFileGroup_, {"Result File Dive", "edtDiveFile"}},
        {boutFileGroup_, {"Result File Bouts", "edtBoutFile"}},
        {wiggleFileGroup_, {"Result File Wiggles", "edtWiggleFile"}}};
    for (const auto& [group, names] : groups) {
        const GroupCaption c = ResultCaption(names.first, S(fields_[names.second]));
        group->setTitle(Q(c.text));
        group->setStyleSheet(c.exists ? "QGroupBox { color: red; }" : "");
    }
}

void TfrmDiveParms::checkThumbnailText()
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
    const int width = fields_["edtTNWidth"]->text().toInt(&ok);
    if (ok && QFontMetrics(font()).horizontalAdvance(Q(stamp)) > width)
        ui_.message("Too much text for thumbnail\r\nIncrease width", Severity::Warning);
}

void TfrmDiveParms::accept()
{
    DiveParmsEntry e = entry();
    const AcceptResult r = AcceptDiveParms(e, wb_, activeSlot_, ui_);
    fields_["edtNrBins"]->setText(Q(e.nrBins));
    if (r.close)
        QDialog::accept();
}

}  // namespace vk
