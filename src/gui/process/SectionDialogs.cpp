#include "gui/process/SectionDialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/process/SectionCopy.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr int StoreSpacing = 25;      // pixels between the store dialog's boxes
constexpr int OverwriteSpacing = 20;  // and the overwrite window's buttons
constexpr int ScreenMargin = 10;      // the overwrite window from the screen's right edge
constexpr const char* HowTo =
    "Click into the data channel, move the data section by moving the F4-cursor. Click "
    "the 'Fix it'-button to replace the data. ";

QString BufferCaption(int k)
{
    return QString("Buffer &%1").arg(k);
}

}  // namespace

StoreSectionDialog::StoreSectionDialog(SectionBuffers& buffers, const ViewState& view, HelpViewer& help,
                                       QWidget* parent)
        : QDialog(parent), buffers_(buffers), edited_(buffers)
{
    setObjectName("storeSectionDialog");
    setWindowTitle("Store section");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Store section (F4..F5) at ..."));
    layout->setSpacing(StoreSpacing - 20);
    for (int k = 0; k < SectionBufferCount; ++k) {
        auto* box = new QCheckBox(BufferCaption(k));
        box->setObjectName(QString("cbxBuffer%1").arg(k));
        box->setChecked(buffers.buffers[static_cast<std::size_t>(k)].SecUsed);
        connect(box, &QCheckBox::toggled, this, [this, k, &view](bool on) {
            if (!on)
                return;
            SectionBuffer& b = edited_.buffers[static_cast<std::size_t>(k)];
            b.SecStart = view.at.F4;
            b.SecEnd = view.at.F5;
            b.SecSlot = view.active;
        });
        boxes_[static_cast<std::size_t>(k)] = box;
        layout->addWidget(box);
    }
    layout->addWidget(OkCancelHelp(this, help, "dlgStoreSec.rtf"));
}

void StoreSectionDialog::accept()
{
    for (int k = 0; k < SectionBufferCount; ++k)
        edited_.buffers[static_cast<std::size_t>(k)].SecUsed = boxes_[static_cast<std::size_t>(k)]->isChecked();
    buffers_ = edited_;
    QDialog::accept();
}

SectionOverwriteDialog::SectionOverwriteDialog(SectionBuffers& buffers, VkDialogs& ui, GraphWindow& window)
        : QDialog(&window, Qt::Tool | Qt::WindowStaysOnTopHint), buffers_(buffers), ui_(ui), window_(window)
{
    setObjectName("sectionOverwriteDialog");
    setWindowTitle("Overwrite");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        "Overwrite the data  of the active channel - begining at the F4-cursor - by the data "
        "stored in  ...");
    text->setWordWrap(true);
    layout->addWidget(text);
    int used = 0, only = -1;
    auto* radios = new QVBoxLayout;
    radios->setSpacing(OverwriteSpacing - 18);
    for (int k = 0; k < SectionBufferCount; ++k) {
        auto* r = new QRadioButton(BufferCaption(k));
        r->setObjectName(QString("rbtBuffer%1").arg(k));
        const bool isUsed = buffers.buffers[static_cast<std::size_t>(k)].SecUsed;
        r->setEnabled(isUsed);
        if (isUsed) {
            ++used;
            only = k;
        }
        radios_[static_cast<std::size_t>(k)] = r;
        radios->addWidget(r);
    }
    layout->addLayout(radios);
    auto* merge = new QCheckBox("Merge");
    merge->setObjectName("cbxMerge");
    merge->setToolTip("Replace by the highest value");
    merge->setChecked(buffers.MergeSections);
    connect(merge, &QCheckBox::toggled, this, [this](bool on) {
        buffers_.MergeSections = on;
        window_.executeRedraw(redraw::StripCursors);
    });
    layout->addWidget(merge);
    howTo_ = new QLabel(QString(used > 1 ? "Press Okay. " : "") + HowTo);
    howTo_->setWordWrap(true);
    layout->addWidget(howTo_);
    ok_ = new QPushButton("OK");
    ok_->setObjectName("btnOk");
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("btnCancel");
    connect(ok_, &QPushButton::clicked, this, &SectionOverwriteDialog::okOrFix);
    connect(cancel, &QPushButton::clicked, this, &SectionOverwriteDialog::cancel);
    auto* row = new QHBoxLayout;
    row->addWidget(ok_);
    row->addWidget(cancel);
    layout->addLayout(row);
    adjustSize();
    if (const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen()) {
        const QRect g = screen->availableGeometry();
        move(g.right() - width() - ScreenMargin, g.top() + (g.height() - height()) / 2);
    }
    if (used == 1) {  // the only one: previewed at once
        radios_[static_cast<std::size_t>(only)]->setChecked(true);
        okOrFix();
    }
}

void SectionOverwriteDialog::clearShown()
{
    for (SectionBuffer& b : buffers_.buffers)
        b.SecShown = false;
}

void SectionOverwriteDialog::okOrFix()
{
    if (!previewing_) {
        clearShown();
        int chosen = -1;
        for (int k = 0; k < SectionBufferCount; ++k)
            if (radios_[static_cast<std::size_t>(k)]->isChecked())
                chosen = k;
        if (chosen < 0) {
            ui_.message("Invalid choice", Severity::Error);
            return;
        }
        buffers_.buffers[static_cast<std::size_t>(chosen)].SecShown = true;
        previewing_ = true;
        ok_->setText("Fix it");
        window_.executeRedraw(redraw::StripCursors);
        window_.activateWindow();
        return;
    }
    // "Fix it": exactly what the preview shows, as one command.
    const SectionBuffer* shown = nullptr;
    for (const SectionBuffer& b : buffers_.buffers)
        if (b.SecShown)
            shown = &b;
    const SectionBuffer buffer = shown ? *shown : SectionBuffer{};
    clearShown();
    previewing_ = false;
    const bool merge = buffers_.MergeSections;
    window_.runCommand([buffer, merge](CommandContext& cx) {
        return FixOverwrite(cx, PlanOverwrite(cx.rec, buffer, merge, cx.view.active, cx.view.at.F4));
    });
    close();
}

void SectionOverwriteDialog::cancel()
{
    clearShown();
    previewing_ = false;
    window_.executeRedraw(redraw::StripCursors);
    close();
}

void SectionOverwriteDialog::closeEvent(QCloseEvent* event)
{
    if (previewing_)  // closing the window is Cancel
        cancel();
    QDialog::closeEvent(event);
}

}  // namespace vk
