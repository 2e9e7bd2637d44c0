#pragma once

// "Splining": placing nodes with the mouse, discarding them, and replacing
// the channel's samples between the first and last node by the spline.
// Beside the graph window and on top of it; the graph window keeps the focus.

#include <QDialog>

class QCheckBox;

namespace vk {

class TForm3;
struct ClickTools;

class TfrmSpline : public QDialog {
    Q_OBJECT

public:
    TfrmSpline(TForm3& window, ClickTools& tools);
    ~TfrmSpline() override;

    void discardLast();
    void discardAll();
    void replace();

private:
    TForm3& window_;
    ClickTools& tools_;
    QCheckBox* add_;
    QCheckBox* moveAll_;
};

}  // namespace vk
