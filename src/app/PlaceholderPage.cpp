#include "app/PlaceholderPage.h"

#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QLabel>

namespace solvane::app {

PlaceholderPage::PlaceholderPage(int pageId, QString title, QWidget* parent)
    : TStackedPage(pageId, parent), m_title(std::move(title)) {}

void PlaceholderPage::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ui::skin::kPageBackgroundId);
    auto* title = new QLabel(m_title, this);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("color: #8d99a7; font-size: 18px;"));
    title->setGeometry(0, 0, ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
}

} // namespace solvane::app
