#include "app/PlaceholderPage.h"

#include "ui/Palette.h"
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
    title->setStyleSheet(
        QStringLiteral("color: %1; font-size: 18px;").arg(ui::palette::css(ui::palette::kTextDim)));
    title->setGeometry(0, 0, ui::skin::kPageFrame.width, ui::skin::kPageFrame.height - 30);
    auto* note = new QLabel(QStringLiteral("This page is not part of this version yet."), this);
    note->setAlignment(Qt::AlignCenter);
    note->setStyleSheet(
        QStringLiteral("color: %1; font-size: 12px;").arg(ui::palette::css(ui::palette::kTextOff)));
    note->setGeometry(0, ui::skin::kPageFrame.height / 2 + 10, ui::skin::kPageFrame.width, 20);
}

} // namespace solvane::app
