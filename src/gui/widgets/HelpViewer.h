#pragma once

// One help window for the whole run: rich-text pages or a bitmap, on top of
// the program's other windows; Escape closes it.

#include <QWidget>
#include <string>

class QLabel;
class QScrollArea;
class QTextBrowser;

namespace vk {

class VkDialogs;

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    HelpViewer(VkDialogs& ui, std::string helpFolder, QWidget* parent = nullptr);

    // A page of the help folder by file name ("mainDial.rtf").
    void showPage(const std::string& name);
    void showText(const std::string& path);    // a rich-text or plain-text file
    void showBitmap(const std::string& path);  // a picture at its own size

    const std::string& helpFolder() const { return folder_; }
    QString plainText() const;                           // what the text view shows
    const std::string& shown() const { return shown_; }  // the file name of the page or picture shown

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void present();  // shown, raised, and never blocked by the dialog that asked

    VkDialogs& ui_;
    std::string folder_;
    QTextBrowser* text_;
    QScrollArea* scroll_;
    QLabel* image_;
    std::string shown_;
};

}  // namespace vk
