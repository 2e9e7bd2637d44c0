#pragma once

// "Bout criterion": the pauses between the dives of a stretch as a
// log-frequency plot, the two fitted processes as straight lines and the
// criterion where they cross, with the figures of the fit. Accepting takes the
// criterion, in whole seconds, as the bout pause.

#include <QDialog>
#include <QWidget>

#include "core/dive/BoutFitRun.h"

namespace vk {

class HelpViewer;

// The plot alone: classes as dots, the processes as lines, the criterion as a dashed line.
class BoutFitPlot : public QWidget {
public:
    explicit BoutFitPlot(const BoutFit& fit, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {640, 380}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const BoutFit& fit_;
};

class BoutFitWindow : public QDialog {
    Q_OBJECT

public:
    // `currentPause` (s) is the bout pause the dialog holds now.
    BoutFitWindow(const StretchFit& fit, int currentPause, HelpViewer& help, QWidget* parent = nullptr);

private:
    StretchFit fit_;
};

}  // namespace vk
