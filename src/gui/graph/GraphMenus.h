#pragma once

// The graph window's menu bar. Every item is a QAction named after its
// command; its key is shown in the menu and kept in the action's data, and the
// window's own key handler runs it, so that the window sees every key first.

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;

namespace vk {

class GraphMenus {
public:
    // Builds every menu and item, all disabled; each feature enables its own.
    explicit GraphMenus(QMenuBar* bar);

    QAction* action(const QString& name) const;  // nullptr for an unknown name
    const QHash<QString, QAction*>& actions() const { return actions_; }
    // The enabled action whose key this is, or nullptr.
    QAction* actionForKey(int keyWithModifiers) const;

private:
    QHash<QString, QAction*> actions_;
};

}  // namespace vk
