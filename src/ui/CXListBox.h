#pragma once

#include "ui/ColorLine.h"

#include <QListWidget>
#include <array>

namespace solvane::ui {

// A list box whose lines carry their own text and background colours (indexes into kListColors),
// with tab stops, a horizontal extent that follows the widest line, and an optional context menu
// with select all, copy and clear. The option popup of the tuning pages shows its choices in one.
class CXListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kNoContextMenu = -1;
    static constexpr int kCommandSelectAll = 57642;
    static constexpr int kCommandCopy = 57634;
    static constexpr int kCommandClear = 57632;
    static constexpr int kTabStopCount = 100;
    static constexpr int kDefaultTabSize = 8;
    // How many lines the list holds before it reports that it is out of space.
    static constexpr int kDefaultMaxLines = 32767;

    explicit CXListBox(QWidget* parent = nullptr);

    // Adds a line, scrolls it to the top and clears the selection. A full list drops its oldest
    // lines (up to 20) to make room; a list that still has no room leaves the line out.
    void AddLine(int textIndex, int backIndex, const QString& text);
    // A black-on-white line.
    void AddString(const QString& text) { AddLine(kPlainTextIndex, kPlainBackIndex, text); }
    // Empties the list and resets the horizontal extent.
    void Clear();
    // The selected lines, without their colours, one per line on the clipboard.
    void Copy();
    void SelectAll();
    // Runs a command of the context menu.
    void OnCommand(int commandId);

    // With colour mode off every line is black on white.
    void EnableColor(bool enable) { m_colorMode = enable; }
    void SetTabSize(int characters);
    void SetMaxLines(int lines) { m_maxLines = std::max(lines, 0); }
    // The colours the sixteen indexes stand for, as a line's text and as its ground (by default
    // both kListColors). A list on a dark ground takes light text and deep grounds.
    void SetColorTables(const std::array<ColorRef, 16>& text, const std::array<ColorRef, 16>& ground);
    QColor textColor(int index) const { return m_textColors[static_cast<std::size_t>(index)].toQColor(); }
    QColor groundColor(int index) const { return m_groundColors[static_cast<std::size_t>(index)].toQColor(); }
    // The context menu shown on a right click; kNoContextMenu for none.
    void SetContextMenuId(int menuId) { m_contextMenuId = menuId; }

    ColorLine line(int row) const;
    int horizontalExtent() const { return m_horizontalExtent; }
    int itemHeight() const { return m_itemHeight; }
    const std::array<int, kTabStopCount>& tabStops() const { return m_tabStops; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateMetrics();
    void measure(const QString& text);
    bool makeRoom();

    bool m_colorMode = true;
    int m_widest = 0;
    int m_horizontalExtent = 0;
    int m_tabSize = kDefaultTabSize;
    int m_digitWidth = 0;
    int m_itemHeight = 0;
    int m_maxLines = kDefaultMaxLines;
    int m_contextMenuId = kNoContextMenu;
    std::array<int, kTabStopCount> m_tabStops{};
    std::array<ColorRef, 16> m_textColors = kListColors;
    std::array<ColorRef, 16> m_groundColors = kListColors;
};

} // namespace solvane::ui
