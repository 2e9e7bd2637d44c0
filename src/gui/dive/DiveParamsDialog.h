#pragma once

// "Dive Parameters": the dive parameter dialog, also in its automatic form
// (OK reads "Start"). It shows the settings as a DiveParmsEntry, applies its
// enabling rules on every change and its OK rules through AcceptDiveParms.

#include <QDialog>
#include <QHash>

#include "core/dive/DiveParamsRules.h"

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

class TfrmDiveParms : public QDialog {
    Q_OBJECT

public:
    TfrmDiveParms(Workbench& wb, int activeSlot, bool automatic, VkDialogs& ui, HelpViewer& help,
                  QWidget* parent = nullptr);

    void accept() override;
    // The entry as the controls hold it now.
    DiveParmsEntry entry() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* field(const char* name, const char* hint = nullptr);
    QCheckBox* check(const char* name, const char* text, const char* hint = nullptr);
    QLabel* label(const char* text, const char* name = nullptr);
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
    QHash<QString, QLineEdit*> fields_;
    QHash<QString, QCheckBox*> checks_;
    QHash<QString, QLabel*> labels_;
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
};

}  // namespace vk
