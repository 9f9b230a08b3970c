#include "sysinfo/pages/CSYSINFO_CPU.h"

#include "sysinfo/pages/CaptionPageIds.h"

namespace solvane::sysinfo::pages {

CSYSINFO_CPU::CSYSINFO_CPU(QWidget* parent)
    : CaptionPage(caption_ids::kCpuDialog, caption_ids::kCpuCaption, parent) {
    setObjectName(QStringLiteral("CSYSINFO_CPU"));
}

} // namespace solvane::sysinfo::pages
