#pragma once

// "Splining": placing nodes with the mouse, discarding them, and replacing
// the channel's samples between the first and last node by the spline.
// Beside the graph window and on top of it; the graph window keeps the focus.

#include <QDialog>

class QCheckBox;

namespace vk {

class GraphWindow;
struct ClickTools;

class SplineWindow : public QDialog {
    Q_OBJECT

public:
    SplineWindow(GraphWindow& window, ClickTools& tools);
    ~SplineWindow() override;

    void discardLast();
    void discardAll();
    void replace();

private:
    GraphWindow& window_;
    ClickTools& tools_;
    QCheckBox* add_;
    QCheckBox* moveAll_;
};

}  // namespace vk
