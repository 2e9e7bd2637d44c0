#pragma once

// A date or clock-time field that takes what the user types: "07012026",
// "7.1.26", "2026-01-07"; "063049", "6:30". It shows the value as
// dd.MM.yyyy or HH:mm:ss. Text it cannot read is refused with a message, and
// the field goes back to its last value.

#include <QDate>
#include <QLineEdit>
#include <QTime>

#include "core/store/TimeBase.h"

namespace vk {

class VkDialogs;

class TypedTimeField : public QLineEdit {
    Q_OBJECT

public:
    enum Kind { Date, Clock };
    TypedTimeField(Kind kind, VkDialogs& ui, QWidget* parent = nullptr);

    QDate date() const { return {value_.year, value_.month, value_.day}; }
    void setDate(const QDate& d);
    QTime time() const { return {value_.hour, value_.minute, value_.second}; }
    void setTime(const QTime& t);

Q_SIGNALS:
    // The typed text was read (or refused and the last value shown again).
    void valueTaken();

private:
    void take();
    void display();

    Kind kind_;
    VkDialogs& ui_;
    CalendarTime value_;
};

}  // namespace vk
