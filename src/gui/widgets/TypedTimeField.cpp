#include "gui/widgets/TypedTimeField.h"

#include "core/store/TypedTime.h"
#include "core/store/VkDialogs.h"

namespace vk {

TypedTimeField::TypedTimeField(Kind kind, VkDialogs& ui, QWidget* parent) : QLineEdit(parent), kind_(kind), ui_(ui)
{
    if (kind_ == Date) {
        value_.year = 1982;
        value_.month = value_.day = 1;
    }
    setPlaceholderText(kind_ == Date ? "dd.mm.yyyy" : "hh:mm:ss");
    display();
    connect(this, &QLineEdit::editingFinished, this, &TypedTimeField::take);
}

void TypedTimeField::setDate(const QDate& d)
{
    value_.year = d.year();
    value_.month = d.month();
    value_.day = d.day();
    display();
}

void TypedTimeField::setTime(const QTime& t)
{
    value_.hour = t.hour();
    value_.minute = t.minute();
    value_.second = t.second();
    display();
}

void TypedTimeField::display()
{
    const QString shown = kind_ == Date ? date().toString("dd.MM.yyyy") : time().toString("HH:mm:ss");
    if (text() != shown)
        setText(shown);
}

void TypedTimeField::take()
{
    const std::string typed = text().trimmed().toStdString();
    if (const auto t = kind_ == Date ? ParseTypedDate(typed) : ParseTypedClock(typed)) {
        if (kind_ == Date)
            setDate(QDate(t->year, t->month, t->day));
        else
            setTime(QTime(t->hour, t->minute, t->second));
    } else {
        display();
        ui_.message(kind_ == Date ? "'" + typed + "' is not a date: type it as 07.01.2026, 7.1.26 or 07012026"
                                  : "'" + typed + "' is not a time of day: type it as 06:30:49, 6:30 or 063049",
                    Severity::Error);
    }
    Q_EMIT valueTaken();
}

}  // namespace vk
