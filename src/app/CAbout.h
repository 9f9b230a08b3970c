#pragma once

#include "ui/CBitmapDialog.h"

#include <functional>

namespace solvane::app {

// The about box (dialog 265): the product name, its build and a link to the maker's web site,
// shown slightly see-through.
class CAbout final : public ui::CBitmapDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 265;
    static constexpr int kLinkId = 1166;
    // 200 of 255: the box lets the window behind it show a little.
    static constexpr double kOpacity = 200.0 / 255.0;

    explicit CAbout(std::function<void()> openWebSite, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    std::function<void()> m_openWebSite;
};

} // namespace solvane::app
