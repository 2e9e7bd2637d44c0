#include "gui/app/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QUrl>
#include <cstdlib>
#include <functional>

#include "core/view/ColourTable.h"
#include "gui/widgets/ConfirmationBox.h"
#include "gui/widgets/HelpViewer.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

QString BoxText(std::string_view text)
{
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace("\r\n", "\n");
    return s;
}

namespace {

QMessageBox::Icon IconOf(Severity severity)
{
    switch (severity) {
    case Severity::Information: return QMessageBox::Information;
    case Severity::Warning: return QMessageBox::Warning;
    case Severity::Error: return QMessageBox::Critical;
    case Severity::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::setParent(QWidget* parent)
{
    parent_ = parent;
}

QWidget* QtDialogs::owner() const
{
    // The window that asked owns its box, so that no other window comes to the front with it.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return parent_.data();
}

void QtDialogs::setStatusLabel(QLabel* label)
{
    status_ = label;
}

void QtDialogs::setProgressBar(QProgressBar* bar)
{
    progress_ = bar;
}

void QtDialogs::message(std::string_view text, Severity severity)
{
    QMessageBox box(IconOf(severity), QApplication::applicationName(), BoxText(text), QMessageBox::Ok, owner());
    ExecDialog(box);
}

namespace {

// A message box with the buttons of the set; `place` may move it before it shows.
Answer AskBox(QWidget* parent, std::string_view text, Buttons buttons, Severity severity,
              const std::function<void(QMessageBox&)>& place)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case Buttons::Ok: set = QMessageBox::Ok; break;
    case Buttons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoAbort: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort; break;
    case Buttons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(IconOf(severity), QApplication::applicationName(), BoxText(text), set, parent);
    if (place)
        place(box);
    switch (ExecDialog(box)) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Abort: return Answer::Abort;
    default: break;
    }
    // Escape or the window's close box: the safe answer of the set.
    switch (buttons) {
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoAbort: return Answer::Abort;
    default: return Answer::Cancel;
    }
}

}  // namespace

Answer QtDialogs::ask(std::string_view text, Buttons buttons, Severity severity)
{
    return AskBox(owner(), text, buttons, severity, {});
}

Answer QtDialogs::askAt(std::string_view text, Buttons buttons, double across, double down)
{
    QWidget* window = owner();
    return AskBox(window, text, buttons, Severity::Question, [window, across, down](QMessageBox& box) {
        if (!window)
            return;
        const QRect g = window->geometry();
        box.move(g.x() + static_cast<int>(g.width() * across), g.y() + static_cast<int>(g.height() * down));
    });
}

Choice QtDialogs::confirm(std::string_view caption, std::string_view text, std::string_view first,
                          std::string_view second, std::string_view cancel)
{
    ConfirmationBox box(owner());
    box.setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    box.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    box.setCaptions(QString::fromUtf8(first.data(), static_cast<qsizetype>(first.size())),
                    QString::fromUtf8(cancel.data(), static_cast<qsizetype>(cancel.size())),
                    QString::fromUtf8(second.data(), static_cast<qsizetype>(second.size())));
    box.showAux(true);
    const ArrowCursor arrow;
    const int answer = box.ask();
    return answer == ConfirmationBox::Ok    ? Choice::First
           : answer == ConfirmationBox::Aux ? Choice::Second
                                            : Choice::Cancel;
}

std::optional<std::string> QtDialogs::input(std::string_view caption, std::string_view prompt, std::string_view initial)
{
    bool ok = false;
    const ArrowCursor arrow;
    const QString text =
        QInputDialog::getText(owner(), BoxText(caption), BoxText(prompt), QLineEdit::Normal, BoxText(initial), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

void QtDialogs::progress(long long pos, long long max)
{
    if (!progress_)
        return;
    progress_->setVisible(max > 0);
    if (max > 0) {
        // QProgressBar counts in int; scale long counts down.
        const long long scale = max > 1000000 ? max / 1000000 : 1;
        progress_->setRange(0, static_cast<int>(max / scale));
        progress_->setValue(static_cast<int>(pos / scale));
    }
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDialogs::status(std::string_view text)
{
    if (!status_)
        return;
    status_->setText(BoxText(text));
    status_->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDialogs::busy(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtDialogs::halt()
{
    std::exit(1);
}

std::optional<std::string> QtDialogs::chooseFile(FileRequest& request)
{
    const QString title = BoxText(request.title);
    const QString start = BoxText(request.start);
    const QString filter = BoxText(request.filter);
    QString selected;
    const ArrowCursor arrow;
    const QString chosen = request.save ? QFileDialog::getSaveFileName(owner(), title, start, filter, &selected)
                                        : QFileDialog::getOpenFileName(owner(), title, start, filter, &selected);
    if (chosen.isEmpty())
        return std::nullopt;
    request.selectedFilter = std::max<int>(0, static_cast<int>(filter.split(";;").indexOf(selected)));
    return chosen.toStdString();
}

std::optional<int32_t> QtDialogs::chooseColour(std::string_view caption, int32_t initial)
{
    const Rgb start = DecodeColour(initial);
    const ArrowCursor arrow;
    const QColor chosen = QColorDialog::getColor(QColor(start.r, start.g, start.b), owner(), BoxText(caption));
    if (!chosen.isValid())
        return std::nullopt;
    return EncodeColour({static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                         static_cast<uint8_t>(chosen.blue())});
}

bool QtDialogs::openDocument(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtDialogs::setHelp(HelpViewer* help)
{
    help_ = help;
}

void QtDialogs::helpPage(const std::string& page)
{
    if (help_)
        help_->showPage(page);
    else
        message("See the help page " + page + ".", Severity::Information);
}

}  // namespace vk
