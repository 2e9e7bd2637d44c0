#pragma once

// What the two export dialogs share: the section group, the file row, the
// range of the chosen section.

#include <QString>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QWidget;

namespace vk {

struct Workbench;
struct ViewState;
class VkDialogs;

// " Which section ": "&Selected section" (0) and "&Entire channel" (1).
QGroupBox* SectionGroup(QButtonGroup*& buttons, int checked);
// A group of radio buttons, the one with id `checked` checked.
QGroupBox* ChoiceGroup(const QString& title, const QStringList& items, QButtonGroup*& buttons, int checked);

// The range of a section choice: the window F1..F2, or 0..the total duration.
void SectionRange(int section, const Workbench& wb, const ViewState& view, double& from, double& to);

// "Browse": a save dialog that starts at the field's file.
void BrowseInto(QLineEdit* field, VkDialogs& ui, const char* title);

}  // namespace vk
