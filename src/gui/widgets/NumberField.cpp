#include "gui/widgets/NumberField.h"

#include <QLineEdit>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

std::optional<double> NumberIn(QLineEdit* field, VkDialogs& ui)
{
    const std::string text = field->text().toStdString();
    double v = 0;
    if (ParseDecimal(text, v))
        return v;
    ui.message(NotANumberText(text), Severity::Error);
    field->setFocus();
    return std::nullopt;
}

}  // namespace vk
