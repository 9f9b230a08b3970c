#pragma once

#include "platform/Scheduler.h"
#include "sysinfo/MotherboardInfo.h"
#include "ui/CLabel.h"
#include "ui/TStackedPage.h"

#include <functional>
#include <map>
#include <string>

namespace solvane::sysinfo::pages {

// The motherboard information page: the board's firmware strings and model name, the bridges and the
// Super I/O chip, the processor, the BIOS and the graphics adapter, gathered once when the page is
// created. Only the core voltage changes afterwards, every 2000 ms.
class CSYSINFO_MB final : public ui::TStackedPage {
    Q_OBJECT
public:
    // gather computes the page's values (it runs inside the page's initialisation); coreVoltage gives
    // the power monitor's current core-voltage text.
    CSYSINFO_MB(std::function<MotherboardInfo()> gather, std::function<std::string()> coreVoltage,
                platform::Scheduler& scheduler, QWidget* parent = nullptr);
    ~CSYSINFO_MB() override;

    const MotherboardInfo& info() const { return m_info; }

protected:
    void OnInitDialog() override;

private:
    void buildGroups();
    void buildValueRows();
    ui::CLabel* addCaption(const QString& text, int x, int top, int width);
    ui::CLabel* addValue(int controlId, const std::string& text, int x, int top, int width);
    void addMakerRow(int captionId, const std::string& caption, int vendorId, int chipId,
                     const std::string& vendor, const std::string& chip, int top);
    void onTimer();

    std::function<MotherboardInfo()> m_gather;
    std::function<std::string()> m_coreVoltage;
    platform::Scheduler& m_scheduler;
    MotherboardInfo m_info;
    ui::CLabel* m_coreVoltageLabel = nullptr;
};

} // namespace solvane::sysinfo::pages
