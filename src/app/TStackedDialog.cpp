#include "app/TStackedDialog.h"

#include "ui/ControlId.h"

#include <algorithm>

namespace solvane::app {

TStackedDialog::TStackedDialog(int placeholderId, QWidget* parent, Qt::WindowFlags flags)
    : CBitmapDialog(parent, flags), m_placeholderId(placeholderId) {}

TStackedDialog::~TStackedDialog() {
    DestroyPages();
}

QPoint TStackedDialog::pageOrigin() const {
    const QWidget* placeholder = ui::findControl(*this, m_placeholderId);
    return placeholder != nullptr ? placeholder->mapTo(this, QPoint(0, 0)) : QPoint(0, 0);
}

TStackedDialog::PageRecord* TStackedDialog::AddPage(int pageId) {
    std::unique_ptr<ui::TStackedPage> page = CreatePage(pageId);
    // A page the subclass cannot make leaves no record behind, so it is never shown or destroyed.
    if (page == nullptr)
        return nullptr;
    auto& record = *m_pages.emplace_back(std::make_unique<PageRecord>());
    record.pageId = pageId;
    record.owner = this;
    record.page = std::move(page);
    ui::TStackedPage& created = *record.page;
    // A page starts as a disabled, hidden child of the dialog.
    created.setParent(this);
    created.hide();
    created.setEnabled(false);
    created.InitDialog();
    created.move(pageOrigin());
    created.setEnabled(true);
    created.OnCreatePage();
    record.created = true;
    return &record;
}

void TStackedDialog::ShowPage(int pageId) {
    const auto withId = std::find_if(m_pages.begin(), m_pages.end(),
                                     [pageId](const auto& record) { return record->pageId == pageId; });
    if (PageRecord* active = activeRecord()) {
        PageRecord& record = *active;
        record.page->OnKillActive();
        record.page->hide();
        record.active = false;
        OnPageChanged(record.pageId, false);
    }
    if (withId == m_pages.end())
        return;
    PageRecord& record = **withId;
    record.page->show();
    record.page->repaint();
    record.page->OnSetActive();
    record.active = true;
    OnPageChanged(record.pageId, true);
}

void TStackedDialog::DestroyPages() {
    for (const auto& record : m_pages) {
        if (!record->created)
            continue;
        record->created = false;
        record->page->OnKillActive();
        record->page->OnDestroyPage();
        record->page->DestroyWindow();
        record->page.reset();
    }
    m_pages.clear();
}

TStackedDialog::PageRecord* TStackedDialog::activeRecord() const {
    const auto active =
        std::find_if(m_pages.begin(), m_pages.end(), [](const auto& record) { return record->active; });
    return active != m_pages.end() ? active->get() : nullptr;
}

ui::TStackedPage* TStackedDialog::activePage() const {
    const PageRecord* active = activeRecord();
    return active != nullptr ? active->page.get() : nullptr;
}

void TStackedDialog::OnDestroy() {
    DestroyPages();
    CBitmapDialog::OnDestroy();
}

} // namespace solvane::app
