#include "sysinfo/pages/CSYSINFO_BIOS.h"

#include "sysinfo/pages/CaptionPageIds.h"

namespace solvane::sysinfo::pages {

CSYSINFO_BIOS::CSYSINFO_BIOS(QWidget* parent)
    : CaptionPage(caption_ids::kBiosDialog, caption_ids::kBiosCaption, parent) {
    setObjectName(QStringLiteral("CSYSINFO_BIOS"));
}

} // namespace solvane::sysinfo::pages
