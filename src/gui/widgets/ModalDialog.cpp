#include "gui/widgets/ModalDialog.h"

#include <QApplication>
#include <QDialog>

namespace vk {

ArrowCursor::ArrowCursor()
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
}

ArrowCursor::~ArrowCursor()
{
    QApplication::restoreOverrideCursor();
}

int ExecDialog(QDialog& dialog)
{
    const ArrowCursor arrow;
    return dialog.exec();
}

}  // namespace vk
