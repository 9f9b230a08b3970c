#pragma once

#include "ui/TStackedPage.h"

#include <string_view>

namespace solvane::sysinfo::pages {

// An information page whose template holds one caption and nothing else, over the page background.
class CaptionPage : public ui::TStackedPage {
    Q_OBJECT
public:
    CaptionPage(int pageId, std::string_view caption, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    std::string_view m_caption;
};

} // namespace solvane::sysinfo::pages
