#include "ui/PopupMenu.h"

#include <QMenu>

namespace solvane::ui {

std::unique_ptr<QMenu> buildPopupMenu(std::span<const MenuItem> items, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    for (const auto& item : items) {
        if (item.commandId == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action =
            menu->addAction(QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
        action->setData(item.commandId);
    }
    return menu;
}

std::optional<int> trackPopupMenu(QMenu& menu, QPoint screenPosition) {
    const QAction* chosen = menu.exec(screenPosition);
    if (chosen == nullptr)
        return std::nullopt;
    return chosen->data().toInt();
}

} // namespace solvane::ui
