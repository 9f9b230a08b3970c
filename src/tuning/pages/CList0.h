#pragma once

#include "tuning/OptionListLines.h"
#include "ui/CXListBox.h"

#include <QWidget>
#include <functional>
#include <vector>

namespace solvane::tuning::pages {

// The option list popup (dialog 146) that the tuning pages share: a borderless pop-up holding the
// colour list box 1060. It is shown without taking the focus; choosing an entry reports the option
// that entry stands for.
class CList0 final : public QWidget {
    Q_OBJECT
public:
    explicit CList0(QWidget* parent = nullptr);

    // Empties the list and fills it with lines, scrolled so that entry top is the first shown.
    void Fill(const std::vector<OptionLine>& lines, int top);
    // Moves the popup to a rectangle of the screen and shows it without activating it.
    void ShowAt(const QRect& screenRect);
    void setChosen(std::function<void(int option)> chosen) { m_chosen = std::move(chosen); }

    ui::CXListBox& list() { return *m_list; }
    // The option of each list position, as filled.
    const std::vector<int>& options() const { return m_options; }

private:
    void selectionChanged();

    ui::CXListBox* m_list;
    std::vector<int> m_options;
    std::function<void(int)> m_chosen;
};

} // namespace solvane::tuning::pages
