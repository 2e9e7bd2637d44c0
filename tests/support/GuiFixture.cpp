#include "support/GuiFixture.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "core/files/ChannelSource.h"
#include "core/setup/Start.h"
#include "gui/graph/GraphWindow.h"

namespace vk::test {

void Key(GraphWindow* window, int key, int modifiers)
{
    QWidget* focus = window->findChild<QWidget*>(QString("focus%1").arg(window->activeChannel()));
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

QStringList FieldsWithoutTips(const QWidget& dialog)
{
    constexpr qsizetype FewestCharacters = 20;  // a sentence, not a word
    QStringList without;
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        const bool field = qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
                           qobject_cast<const QAbstractSlider*>(w) ||
                           (qobject_cast<const QAbstractButton*>(w) && !w->objectName().startsWith("btn"));
        if (field && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_") &&
            w->toolTip().size() < FewestCharacters)
            without << w->objectName();
    }
    return without;
}

void WhenDialogShows(std::function<void(QWidget*)> inDialog)
{
    WhenDialogShows(QString(), std::move(inDialog));
}

void WhenDialogShows(const QString& name, std::function<void(QWidget*)> inDialog)
{
    // Looks again every few milliseconds, for a few seconds: the dialog may be
    // opened by an event posted after this call.
    constexpr int Tries = 500;
    using Look = std::function<void(int)>;
    auto look = std::make_shared<Look>();
    // Only the pending timer holds the closure: it goes with the last one.
    *look = [inDialog, name, self = std::weak_ptr<Look>(look)](int left) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (name.isEmpty() || modal->objectName() == name))
            inDialog(modal);
        else if (auto again = self.lock(); again && left > 0)
            QTimer::singleShot(10, [again, left] { (*again)(left - 1); });
    };
    QTimer::singleShot(0, [look] { (*look)(Tries); });
}

bool StartFurSealCopy(Workbench& wb, const std::string& dataFolder, const std::string& folder, VkDialogs& ui)
{
    ChannelDescriptor& d = wb.rec.desc(0);
    d.NameIn = folder + "/furseal-5s.csv";
    std::filesystem::copy_file(dataFolder + "/furseal-5s.csv", d.NameIn);
    d.ColumnValue = 3;
    d.InDelimiter = ';';
    d.HeaderText = 1;
    d.SampRate = 5000;
    for (int slot = 1; slot < SlotCount; ++slot)
        wb.rec.desc(slot).NameIn.clear();
    AllocateStore(wb.rec, ui);
    return StartRecording(wb, ui) == StartResult::Loaded;
}

GraphWindow* OpenActiveGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help)
{
    auto* window = new GraphWindow(wb, ui, help);
    window->show();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    if (QWidget* focus = window->findChild<QWidget*>(QString("focus%1").arg(window->activeChannel())))
        focus->setFocus();
    return window;
}

}  // namespace vk::test
