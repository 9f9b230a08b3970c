#pragma once

#include <QPoint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

class QMenu;
class QWidget;

namespace solvane::ui {

// One line of a popup menu resource: its command id and text; command 0 is a separator.
struct MenuItem {
    int commandId;
    std::string_view text;
};

// Builds a popup menu from its resource data; each action carries its command id.
std::unique_ptr<QMenu> buildPopupMenu(std::span<const MenuItem> items, QWidget* parent);

// Shows the menu at a screen position until the user chooses or dismisses it: the chosen
// command, or none.
std::optional<int> trackPopupMenu(QMenu& menu, QPoint screenPosition);

} // namespace solvane::ui
