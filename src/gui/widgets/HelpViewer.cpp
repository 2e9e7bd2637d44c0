#include "gui/widgets/HelpViewer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWindow>
#include <algorithm>

#include "core/help/RtfToHtml.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

HelpViewer::HelpViewer(VkDialogs& ui, std::string helpFolder, QWidget* parent)
        : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui_(ui), folder_(std::move(helpFolder))
{
    setObjectName("HelpViewer");
    text_ = new QTextBrowser;
    text_->setReadOnly(true);
    text_->setOpenExternalLinks(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    image_ = new QLabel;
    scroll_ = new QScrollArea;
    scroll_->setWidget(image_);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* stack = new QStackedLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(text_);
    stack->addWidget(scroll_);
}

void HelpViewer::showPage(const std::string& name)
{
    showText(folder_ + name);
}

void HelpViewer::showText(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ui_.message("Cannot open file \"" + path + "\". " + file.errorString().toStdString(), Severity::Error);
        return;
    }
    const QByteArray content = file.readAll();
    text_->setSearchPaths({QFileInfo(file).absolutePath()});  // the page's pictures lie beside it
    if (content.startsWith("{\\rtf"))
        text_->setHtml(QString::fromStdString(RtfToHtml(std::string_view(content.constData(), content.size()))));
    else  // a plain text file ("ESIdiff.txt")
        text_->setPlainText(QString::fromUtf8(content));
    shown_ = FileNameOf(path);
    // Titled with the page's heading (its first line), the file name without one.
    const QString heading = text_->document()->firstBlock().text().trimmed();
    setWindowTitle(heading.isEmpty() ? QString::fromStdString(FileNameOf(path)) : heading);
    // As tall as the page at a third of the screen's width, within a quarter and most of the screen.
    constexpr double Width = 0.35, Least = 0.25, Most = 0.8;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int width = static_cast<int>(Width * screen.width());
    QTextDocument* page = text_->document();
    page->setTextWidth(width - 2 * text_->frameWidth() - text_->verticalScrollBar()->sizeHint().width());
    const int tall = static_cast<int>(page->size().height()) + 2 * text_->frameWidth() + 2 * page->documentMargin();
    const int height =
        std::clamp(tall, static_cast<int>(Least * screen.height()), static_cast<int>(Most * screen.height()));
    setGeometry(screen.x() + static_cast<int>(0.4 * screen.width()),
                screen.y() + std::max(0, (screen.height() - height) / 2), width, height);
    static_cast<QStackedLayout*>(layout())->setCurrentWidget(text_);
    present();
}

void HelpViewer::showBitmap(const std::string& path)
{
    const QPixmap picture(QString::fromStdString(path));
    if (picture.isNull()) {
        ui_.message("Cannot open file \"" + path + "\".", Severity::Error);
        return;
    }
    image_->setPixmap(picture);
    image_->resize(picture.size());
    shown_ = FileNameOf(path);
    setWindowTitle(QString::fromStdString(FileNameOf(path)));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int scrollBar = scroll_->verticalScrollBar()->sizeHint().width() + 2 * scroll_->frameWidth();
    setGeometry(screen.x() + static_cast<int>(0.1 * screen.width()),
                screen.y() + static_cast<int>(0.1 * screen.height()), picture.width() + scrollBar,
                static_cast<int>(0.85 * screen.height()));
    static_cast<QStackedLayout*>(layout())->setCurrentWidget(scroll_);
    present();
}

void HelpViewer::present()
{
    show();
    // A page asked for from a modal dialog belongs to that dialog's window, so
    // the dialog does not block it: it can be read, scrolled and closed while
    // the dialog stays open. Otherwise it stands on its own.
    QWidget* modal = QApplication::activeModalWidget();
    QWindow* owner = modal && modal != this ? modal->window()->windowHandle() : nullptr;
    if (windowHandle() && windowHandle()->transientParent() != owner)
        windowHandle()->setTransientParent(owner);
    raise();
}

QString HelpViewer::plainText() const
{
    return text_->toPlainText();
}

void HelpViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpViewer::closeEvent(QCloseEvent* event)
{
    text_->clear();
    QWidget::closeEvent(event);
}

}  // namespace vk
