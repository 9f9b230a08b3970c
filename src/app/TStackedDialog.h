#pragma once

#include "ui/TStackedPage.h"

#include <memory>
#include <vector>

namespace solvane::app {

// A dialog that hosts pages and shows one at a time inside a fixed frame: the top-left corner of
// a placeholder control (found by its control id, ui::setControlId) is where every page goes.
//
// A subclass supplies the pages through CreatePage and hears about every change through
// OnPageChanged:
//   AddPage(id)   creates the page (CreatePage), makes it a hidden child, runs its
//                 initialisation, places it at the placeholder and calls its OnCreatePage;
//   ShowPage(id)  hides the active page (OnKillActive, then OnPageChanged(its id, false)) and
//                 shows the page with that id (OnSetActive, then OnPageChanged(id, true)); showing
//                 the active page again sends both; an unknown id only hides the active page;
//   DestroyPages  runs OnKillActive and OnDestroyPage of every page in the order of adding and
//                 deletes each page once. It runs when the dialog's window is destroyed
//                 (OnDestroy, before the base handling) and at the latest in the destructor.
// Keyboard focus moves into the pages as into any child widget.
//
// A subclass that is also a MainWindowHost overrides DoModal once for both bases; DoModal runs
// InitDialog (OnInitDialog), the modal loop and DestroyWindow (OnDestroy, so DestroyPages).
class TStackedDialog : public ui::CBitmapDialog {
    Q_OBJECT
public:
    struct PageRecord {
        bool created = false;
        bool active = false;
        int pageId = 0;
        std::unique_ptr<ui::TStackedPage> page;
        TStackedDialog* owner = nullptr;
    };

    explicit TStackedDialog(int placeholderId, QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~TStackedDialog() override;

    // The new page's record, or none when CreatePage gives no page for the id.
    PageRecord* AddPage(int pageId);
    void ShowPage(int pageId);
    void DestroyPages();

    // The pages in the order of adding.
    const std::vector<std::unique_ptr<PageRecord>>& pages() const { return m_pages; }
    // The page being shown, or none.
    ui::TStackedPage* activePage() const;
    int placeholderId() const { return m_placeholderId; }

protected:
    // A new page for a dialog id, or none for an id the subclass does not know.
    virtual std::unique_ptr<ui::TStackedPage> CreatePage(int pageId) = 0;
    // A page became active (shown) or inactive (hidden).
    virtual void OnPageChanged(int pageId, bool active) = 0;

    void OnDestroy() override;

private:
    QPoint pageOrigin() const;
    PageRecord* activeRecord() const;

    int m_placeholderId;
    std::vector<std::unique_ptr<PageRecord>> m_pages;
};

} // namespace solvane::app
