#pragma once

#include "ui/TStackedPage.h"

namespace solvane::app {

// A page whose content comes later: the page background and its title, so navigation works and
// the window looks whole.
class PlaceholderPage final : public ui::TStackedPage {
    Q_OBJECT
public:
    PlaceholderPage(int pageId, QString title, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    QString m_title;
};

} // namespace solvane::app
