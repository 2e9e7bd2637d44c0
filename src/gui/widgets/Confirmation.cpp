#include "gui/widgets/Confirmation.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vk {

TConfirmation::TConfirmation(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Confirmation");
    text_ = new QLineEdit;
    text_->setReadOnly(true);
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
    setMinimumWidth(360);
    ok_->setDefault(true);  // once inside the dialog, or it does not take
    connect(ok_, &QPushButton::clicked, this, [this] { done(Ok); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(Cancel); });
    connect(aux_, &QPushButton::clicked, this, [this] { done(Aux); });
}

void TConfirmation::setText(const QString& text)
{
    text_->setText(text);
    text_->setCursorPosition(0);
}

void TConfirmation::setCaptions(const QString& ok, const QString& cancel, const QString& aux)
{
    ok_->setText(ok);
    cancel_->setText(cancel);
    if (!aux.isEmpty())
        aux_->setText(aux);
}

void TConfirmation::showAux(bool visible)
{
    aux_->setVisible(visible);
}

int TConfirmation::ask()
{
    const int result = exec();
    return result == Ok || result == Aux ? result : Cancel;  // Escape rejects with 0
}

}  // namespace vk
