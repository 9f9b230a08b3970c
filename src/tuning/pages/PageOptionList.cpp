#include "tuning/pages/PageOptionList.h"

#include "tuning/OptionListGeometry.h"
#include "tuning/pages/CList0.h"

#include <QWidget>

namespace solvane::tuning::pages {

void PageOptionList::show(int setting, const std::vector<OptionLine>& lines, int top, ListKind kind,
                          ListOpens opens, const QWidget& button, QSize listSize) {
    if (m_widget == nullptr)
        return;
    m_widget->hide();
    m_widget->setChosen([this](int option) { choose(option); });
    m_state.opening(setting);
    m_widget->Fill(lines, top);
    const QRect onScreen(button.mapToGlobal(QPoint(0, 0)), button.size());
    m_widget->ShowAt(optionListGeometry(kind, opens, onScreen, listSize));
}

void PageOptionList::hide() {
    if (m_widget != nullptr)
        m_widget->hide();
}

void PageOptionList::close() {
    m_state.close();
    hide();
}

void PageOptionList::choose(int option) {
    if (!m_state.isOpen())
        return;
    // The check that follows may ask about the value; the list must not stand over that question.
    hide();
    m_state.choose(option);
}

} // namespace solvane::tuning::pages
