#pragma once

// One channel tab of the main dialog: the data file of a slot and how to read it.

#include <QWidget>

#include "core/files/SkipStrings.h"
#include "core/setup/CopyChannels.h"
#include "core/store/Recording.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vk {

class VkDialogs;
class TypedTimeField;

class ChannelTab : public QWidget {
    Q_OBJECT

public:
    // `skips`: the setup's skip strings, which Read layout reads the lines by.
    ChannelTab(int slot, Recording& rec, const SkipStrings& skips, VkDialogs& ui, QWidget* parent = nullptr);

    int slot() const { return slot_; }
    void fill();     // store -> fields
    void collect();  // fields -> store, without messages
    bool isFileToCreate() const;

Q_SIGNALS:
    void copyRequested(vk::CopyKind kind);
    void markingChanged();
    // The assistant's proposal was taken: this slot's reading, and maybe other slots'.
    void readingProposed();

private Q_SLOTS:
    void browse();
    void fileNameChanged();
    void samplingExit();
    void dateExit();
    void formatClicked();
    void textFormatExit();
    void timeColumnsExit();
    void rangeExit(bool high);
    void readLayout();
    void sensorChosen(int index);

private:
    ChannelDescriptor& desc() { return rec_.desc(slot_); }
    ChannelFormat chosenFormat() const;
    void fillSensors();
    void showTiming();  // interval and start fields from the store, signals blocked by the caller
    void updateEnabling();
    void updatePreview();
    QPushButton* copyButton(const QString& caption, const QString& hint, CopyKind kind);
    bool eventFilter(QObject* watched, QEvent* event) override;

    int slot_;
    Recording& rec_;
    const SkipStrings& skips_;
    VkDialogs& ui_;
    QLineEdit* fileName_;
    QLineEdit* sampling_;
    TypedTimeField* date_;
    TypedTimeField* time_;
    QLabel* preview_;
    QGroupBox* formatGroup_;
    QRadioButton* binary_;
    QRadioButton* text_;
    QRadioButton* archive_;
    QComboBox* sensor_;
    QLabel* sensorLabel_;
    QPushButton* readLayout_;
    QCheckBox* readHeader_;
    QLineEdit* header_;
    QLineEdit* column_;
    QComboBox* separator_;
    QCheckBox* skipVoid_;
    QLineEdit* timeColumn_;
    QLineEdit* dateColumn_;
    QLineEdit* min_;
    QLineEdit* max_;
    QCheckBox* autoScaling_;
    QPushButton* copyAutoScaling_;
};

// How a delimiter character reads in the separator list, and back.
QString DelimiterText(char delimiter);

}  // namespace vk
