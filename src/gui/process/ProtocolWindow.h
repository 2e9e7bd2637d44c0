#pragma once

// "ListViewProtocol": the behaviour protocol beside the graph window. It
// never takes the focus: the keys stay with the graph window, which hands each
// one here before it acts on it.

#include <QDialog>
#include <vector>

#include "core/process/BehaviourProtocol.h"

class QKeyEvent;
class QTreeWidget;

namespace vk {

class VkDialogs;
struct Workbench;
struct ViewState;

class ProtocolWindow : public QDialog {
    Q_OBJECT

public:
    ProtocolWindow(QWidget& window, const Workbench& wb, const ViewState& view, VkDialogs& ui);

    // A row for a digit or letter key, with the work section as clock times.
    void addEntry(const QKeyEvent& key);
    const std::vector<ProtocolRow>& rows() const { return rows_; }

protected:
    // Offers to save the rows; the window stays when the user keeps unsaved rows.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget& window_;
    const Workbench& wb_;
    const ViewState& view_;
    VkDialogs& ui_;
    QTreeWidget* list_;
    std::vector<ProtocolRow> rows_;
};

// Closes the protocol window of the graph window, if one is open; false when
// the user kept it (and its rows).
bool CloseProtocolWindow(QWidget& window);

}  // namespace vk
