#pragma once

#include "ui/CBitmapDialog.h"

namespace solvane::ui {

// The base of every page a TStackedDialog hosts (the power-saving, tuning and system-information
// pages). A page is constructed with its dialog id, the key its host shows it by. It builds its
// controls in its constructor or in OnInitDialog, which runs while the host adds the page, after
// the page has become the host's child and before it is placed; it sets its own size (the page
// frame, ui::skin::kPageFrame).
//
// The host tells the page when it comes and goes through four notifications, empty by default:
// OnCreatePage (created and placed, still hidden), OnSetActive (just shown), OnKillActive (about to
// be hidden or destroyed) and OnDestroyPage (about to be destroyed). Enter and Escape never close
// a page.
class TStackedPage : public CBitmapDialog {
    Q_OBJECT
public:
    explicit TStackedPage(int pageId, QWidget* parent = nullptr);

    int pageId() const { return m_pageId; }

    virtual void OnSetActive() {}
    virtual void OnKillActive() {}
    virtual void OnCreatePage() {}
    virtual void OnDestroyPage() {}

public slots:
    void accept() override {}
    void reject() override {}

private:
    int m_pageId;
};

} // namespace solvane::ui
