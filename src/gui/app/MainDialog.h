#pragma once

// The main dialog: the data files of up to three channels, how to read them,
// setup files, and Start.

#include <QDialog>
#include <QPointer>
#include <array>

#include "core/setup/Workbench.h"

class QLabel;
class QTabWidget;

namespace vk {

class ChannelTab;
class GeneralTab;
class HelpViewer;
class VkDialogs;

class MainDialog : public QDialog {
    Q_OBJECT

public:
    // Sets the dialog up from the last-settings file, then from `setupFile`
    // when one is given, and allocates the sample store.
    MainDialog(Workbench& wb, VkDialogs& ui, HelpViewer& help, std::string lastSettings,
               const std::string& setupFile = {}, QWidget* parent = nullptr);
    ~MainDialog() override;

    void FillDialog();
    void CollectDialog();
    QWidget* graphWindow() const { return graph_; }
    QLabel* statusLabel() const { return status_; }

public Q_SLOTS:
    void ButtonStartClick();
    void btnCfgFileClick();
    void btnSaveConfigClick();
    void ButtonHelpClick();
    void btnFileViewerClick();

protected:
    bool event(QEvent* event) override;
    void done(int result) override;

private:
    void readSetupFromField();
    void openExample();
    void readSetup(const std::string& path);
    void copyFromFirstSlot(int kind);
    void updateTabMarks();
    void shake();
    void FormClose();

    Workbench& wb_;
    VkDialogs& ui_;
    HelpViewer& help_;
    std::string lastSettings_;
    QTabWidget* tabs_;
    GeneralTab* general_;
    std::array<ChannelTab*, SlotCount> channels_{};
    QLabel* status_;
    QPointer<QWidget> graph_;
    bool closed_ = false;
};

}  // namespace vk
