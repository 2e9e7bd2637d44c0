#pragma once

// The assistant of a channel tab: how a logger text file is laid out, as
// proposed from its first lines, with those lines shown as a table and the
// proposed columns marked.

#include <QDialog>

#include "core/files/FileLayout.h"
#include "core/store/Recording.h"

class QCheckBox;

namespace vk {

class ReadLayoutDialog : public QDialog {
    Q_OBJECT

public:
    // `proposal` holds every slot's proposed reading of the file; `slot` is
    // the tab's. `problem` says why the start and interval are not proposed.
    ReadLayoutDialog(const FileLayout& layout, const Recording& proposal, int slot, const std::string& problem,
                     QWidget* parent = nullptr);

    // Whether the other channel tabs take their proposed columns as well.
    bool fillsOtherTabs() const;

private:
    QCheckBox* others_ = nullptr;
};

}  // namespace vk
