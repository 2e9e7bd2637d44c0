#pragma once

// "Dive Parameters": the dive parameter dialog, also in its automatic form
// (OK reads "Start"). It shows the settings as a DiveParmsEntry, applies its
// enabling rules on every change and its OK rules through AcceptDiveParms.

#include <QDialog>
#include <functional>

#include "core/dive/BoutFitRun.h"

#include "core/dive/DiveParamsRules.h"
#include "core/dive/SurfaceCheck.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class DiveParamsDialog : public QDialog {
    Q_OBJECT

public:
    DiveParamsDialog(Workbench& wb, int activeSlot, bool automatic, VkDialogs& ui, HelpViewer& help,
                  QWidget* parent = nullptr);

    void accept() override;
    // "Suggest from record": the fields the record suggests filled in and
    // marked until the dialog closes; OK keeps them, Cancel drops them.
    void suggest();
    void suggest(const ParameterSuggestion& s);  // one already made
    // "Fit from record" beside the bout pause: the fitter searches the dives of
    // F4..F5 with the parameters the dialog holds and fits their pauses; the
    // button shows only once a fitter is given.
    using BoutFitter = std::function<StretchFit(const DiveParameters&, const std::function<bool(double share)>&)>;
    void setBoutFitter(BoutFitter fitter);
    // The automatic form: what the run will analyse (`describe` says it anew
    // after `wholeRecord` set the cursors to the record's ends).
    void showStretch(std::function<QString()> describe, std::function<void()> wholeRecord);
    void fitBouts();
    // The entry as the controls hold it now.
    DiveParmsEntry entry() const;

    // The controls, named as the entry's values they show.
    struct Fields {
        QLineEdit *level = nullptr, *slopEoD = nullptr, *slimness = nullptr, *thrBott = nullptr,
                  *limitGradient = nullptr, *threshold = nullptr, *windowSize = nullptr, *baselineQuality = nullptr,
                  *timeBelow = nullptr, *timeAbove = nullptr, *skipDives = nullptr, *wiggDefPercent = nullptr,
                  *tnWidth = nullptr, *tnHeight = nullptr, *stopGradient = nullptr, *stopLength1 = nullptr,
                  *stopMinDuration = nullptr, *wiggAmplitude = nullptr, *wiggDuration = nullptr,
                  *wiggRelPreceding = nullptr, *boutIntermediate = nullptr, *boutMinDur = nullptr,
                  *surroundMaxDepth = nullptr, *nrBins = nullptr, *minBin = nullptr, *maxBin = nullptr,
                  *diveFile = nullptr, *boutFile = nullptr, *wiggleFile = nullptr;
    };
    struct Checks {
        QCheckBox *automatic = nullptr, *autoGradient = nullptr, *searchNextAtW = nullptr, *trekBaseline = nullptr,
                  *adjustSize = nullptr, *noVisualisation = nullptr, *makeImages = nullptr, *absDifferences = nullptr,
                  *burnishDives = nullptr, *pauseRelating = nullptr, *thumbnail = nullptr, *tnNumber = nullptr,
                  *tnDate = nullptr, *tnTime = nullptr, *tnShape = nullptr, *diveStops = nullptr, *waterTemp = nullptr,
                  *frequencies = nullptr;
    };
    struct Labels {
        QLabel *level = nullptr, *slopEoD = nullptr, *criterion = nullptr, *slimness = nullptr, *thrBott = nullptr,
               *limitGradient = nullptr, *timeBelow = nullptr, *timeAbove = nullptr, *skipDives = nullptr,
               *stopGradient = nullptr, *wiggAmplitude = nullptr, *wiggDuration = nullptr, *wiggRelPreceding = nullptr,
               *tnWidth = nullptr, *tnHeight = nullptr;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A control made, named, and kept in its place among the members.
    QLineEdit* field(QLineEdit* Fields::*slot, const char* name);
    QCheckBox* check(QCheckBox* Checks::*slot, const char* name, const char* text);
    QLabel* label(const char* text, QLabel* Labels::*slot = nullptr, const char* name = nullptr);
    void build(bool automatic);
    void show(const DiveParmsEntry& e);
    void applyEnabling();
    void updateResultCaptions();
    void checkThumbnailText();
    void openHtml(const char* page);

    Workbench& wb_;
    int activeSlot_;
    VkDialogs& ui_;
    HelpViewer& help_;
    Fields fields_;
    Checks checks_;
    Labels labels_;
    QComboBox* criterion_ = nullptr;
    QButtonGroup* bottomKind_ = nullptr;
    QPushButton* wiggMethod_ = nullptr;
    int wiggMethodValue_ = 0;
    QGroupBox* wiggles_ = nullptr;
    QGroupBox* thumbnails_ = nullptr;
    QGroupBox* diveFileGroup_ = nullptr;
    QGroupBox* boutFileGroup_ = nullptr;
    QGroupBox* wiggleFileGroup_ = nullptr;
    QPushButton* ok_ = nullptr;
    QLabel* suggested_ = nullptr;  // what was suggested, until OK or Cancel
    QPushButton* fitBouts_ = nullptr;
    BoutFitter boutFitter_;
    bool suggestedSpeed_ = false;  // speed values on: a setting of the Extended dialog, kept at OK
    int32_t suggestedLenRest_ = 0;  // the end rule's samples (no field of its own), kept at OK when set
};

}  // namespace vk
