#include "gui/widgets/FieldTips.h"

#include <QWidget>

namespace vk {

void ApplyFieldTips(QWidget* window, const FieldTips& tips)
{
    for (const auto& [name, tip] : tips)
        for (QWidget* w : window->findChildren<QWidget*>(name))
            w->setToolTip(tip);
}

}  // namespace vk
