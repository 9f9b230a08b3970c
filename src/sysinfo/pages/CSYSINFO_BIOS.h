#pragma once

#include "sysinfo/pages/CaptionPage.h"

namespace solvane::sysinfo::pages {

// The BIOS information page (dialog 140): its caption and nothing else.
class CSYSINFO_BIOS final : public CaptionPage {
    Q_OBJECT
public:
    explicit CSYSINFO_BIOS(QWidget* parent = nullptr);
};

} // namespace solvane::sysinfo::pages
