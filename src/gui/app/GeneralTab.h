#pragma once

// The "General " tab of the main dialog: setup file, comments, skip strings
// and the (hidden) start and end positions.

#include <QWidget>

#include "core/setup/Settings.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vk {

class GeneralTab : public QWidget {
    Q_OBJECT

public:
    GeneralTab(Settings& settings, QWidget* parent = nullptr);

    void fill(const std::string& setupFile);
    void collect();  // comments and skip strings into the settings
    QString setupFileName() const;
    void setSetupFileName(const std::string& name);

Q_SIGNALS:
    void readSetupRequested();    // Enter in or leaving the setup file name field
    void browseSetupRequested();  // "&Read config. file"
    void saveSetupRequested();    // "&Save in config file"
    void exampleRequested();      // "E&xample recording"

private:
    struct Position {
        QLineEdit* decimal;
        QLineEdit* degrees;
        QLineEdit* minutes;
        QLineEdit* seconds;
        double* value;
    };
    QGroupBox* positionGroup(const QString& title, const QString& hint, double& lon, double& lat);
    void positionDecimalExit(Position& p);
    void positionDmsExit(Position& p);
    void updateSkipFields();
    void fillPositions();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Settings& settings_;
    QLineEdit* setupFile_;
    QLineEdit* comment1_;
    QLineEdit* comment2_;
    QCheckBox* skip1Enabled_;
    QLineEdit* skip1_;
    QCheckBox* skip2Enabled_;
    QLineEdit* skip2_;
    std::vector<Position> positions_;
};

}  // namespace vk
