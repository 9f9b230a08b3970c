#include "sysinfo/pages/CaptionPage.h"

#include "sysinfo/pages/CaptionPageIds.h"
#include "sysinfo/pages/MotherboardPageLayout.h"
#include "ui/CLabel.h"
#include "ui/ControlId.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

namespace solvane::sysinfo::pages {

namespace {

// The caption in the top left corner, where the templates put it.
constexpr QRect kCaptionRect{22, 20, 300, 24};
constexpr int kCaptionPixels = 14;

} // namespace

CaptionPage::CaptionPage(int pageId, std::string_view caption, QWidget* parent)
    : TStackedPage(pageId, parent), m_caption(caption) {}

void CaptionPage::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ui::skin::kPageBackgroundId);
    auto* caption = new ui::CLabel(this);
    ui::setControlId(*caption, caption_ids::kCaption);
    caption->SetTransparent(true)
        .SetTextColor(motherboard_layout::kCaptionColour)
        .SetFontSize(kCaptionPixels)
        .SetFontBold(true);
    caption->SetText(QString::fromLatin1(m_caption.data(), static_cast<qsizetype>(m_caption.size())));
    caption->setGeometry(kCaptionRect);
}

} // namespace solvane::sysinfo::pages
