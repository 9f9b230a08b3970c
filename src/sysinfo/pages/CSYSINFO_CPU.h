#pragma once

#include "sysinfo/pages/CaptionPage.h"

namespace solvane::sysinfo::pages {

// The CPU information page (dialog 137): its caption and nothing else.
class CSYSINFO_CPU final : public CaptionPage {
    Q_OBJECT
public:
    explicit CSYSINFO_CPU(QWidget* parent = nullptr);
};

} // namespace solvane::sysinfo::pages
