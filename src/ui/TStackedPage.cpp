#include "ui/TStackedPage.h"

namespace solvane::ui {

// A page is a child of its host, never a window of its own.
TStackedPage::TStackedPage(int pageId, QWidget* parent)
    : CBitmapDialog(parent, Qt::Widget), m_pageId(pageId) {}

} // namespace solvane::ui
