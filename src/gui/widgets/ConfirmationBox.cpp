#include "gui/widgets/ConfirmationBox.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vk {

namespace {

constexpr int MinimumWidth = 340;  // px, of the text
constexpr int WidestText = 640;    // px: longer lines wrap

}  // namespace

ConfirmationBox::ConfirmationBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Confirmation");
    // The whole question in view, wrapped where it is long: a one-line field
    // cut the longer ones off mid-word.
    text_ = new QLabel;
    text_->setObjectName("lblText");
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ok_ = new QPushButton("OK");
    cancel_ = new QPushButton("Cancel");
    aux_ = new QPushButton("Aux");
    aux_->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(aux_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    // No minimum of the dialog's own: the layout's, from the text, must size it.
    text_->setMinimumWidth(MinimumWidth);
    ok_->setDefault(true);  // once inside the dialog, or it does not take
    connect(ok_, &QPushButton::clicked, this, [this] { done(Ok); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(Cancel); });
    connect(aux_, &QPushButton::clicked, this, [this] { done(Aux); });
}

void ConfirmationBox::setText(const QString& text)
{
    QString lines = text;
    lines.replace("\r\n", "\n").replace('\r', '\n');
    text_->setText(lines);
    const QFontMetrics metrics(text_->font());
    int widest = 0;
    for (const QString& line : lines.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    // A top-level dialog does not lay out by height for width: the label's
    // size is set from the wrapped text itself.
    const int width = std::clamp(widest + metrics.averageCharWidth(), MinimumWidth, WidestText);
    text_->setFixedWidth(width);
    text_->setMinimumHeight(text_->heightForWidth(width));
    adjustSize();
}

void ConfirmationBox::setCaptions(const QString& ok, const QString& cancel, const QString& aux)
{
    ok_->setText(ok);
    cancel_->setText(cancel);
    if (!aux.isEmpty())
        aux_->setText(aux);
}

void ConfirmationBox::showAux(bool visible)
{
    aux_->setVisible(visible);
}

int ConfirmationBox::ask()
{
    const int result = exec();
    return result == Ok || result == Aux ? result : Cancel;  // Escape rejects with 0
}

}  // namespace vk
