#pragma once

#include "tuning/AdvancedPagePlan.h"
#include "tuning/OptionListLines.h"
#include "tuning/OptionListState.h"

#include <QSize>
#include <utility>
#include <vector>

class QWidget;

namespace solvane::tuning::pages {

class CList0;

// One tuning page's side of the option list the tuning pages share: which setting's list this page
// has open, and the shared list widget, which takes the choices of the page that filled it last.
class PageOptionList {
public:
    explicit PageOptionList(OptionListState state) : m_state(std::move(state)) {}

    void setWidget(CList0* list) { m_widget = list; }
    const OptionListState& state() const { return m_state; }
    bool isOpen() const { return m_state.isOpen(); }
    int openIndex() const { return m_state.openIndex(); }
    OptionListState::Toggle toggle(int setting) { return m_state.toggle(setting); }

    // Fills the list for setting with lines (top line first shown) and opens it beside button.
    void show(int setting, const std::vector<OptionLine>& lines, int top, ListKind kind, ListOpens opens,
              const QWidget& button, QSize listSize);
    void hide();
    // Closed from outside (the main window's background, a click on the page).
    void close();
    // An entry was chosen while this page's list was open.
    void choose(int option);

private:
    OptionListState m_state;
    CList0* m_widget = nullptr;
};

} // namespace solvane::tuning::pages
